#pragma once

#include <sys/capability.h>

#include <iterator>

// While one lives, file permissions bind this thread even when it runs as
// root: the capabilities that pass over them leave its effective set, and
// come back at the end. A test of a file the program may not read or write
// then runs alike for root (as in CI) and for a user.
class FilePermissionsBind {
 public:
  FilePermissionsBind() : m_saved(cap_get_proc()) {
    if (!m_saved) return;
    cap_t lowered = cap_dup(m_saved);
    const cap_value_t overrides[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH};
    m_bound = lowered &&
              cap_set_flag(lowered, CAP_EFFECTIVE, int(std::size(overrides)), overrides,
                           CAP_CLEAR) == 0 &&
              cap_set_proc(lowered) == 0;
    cap_free(lowered);
  }
  ~FilePermissionsBind() {
    if (!m_saved) return;
    cap_set_proc(m_saved);
    cap_free(m_saved);
  }
  FilePermissionsBind(const FilePermissionsBind&) = delete;
  FilePermissionsBind& operator=(const FilePermissionsBind&) = delete;

  // Whether the permissions bind now.
  bool bound() const { return m_bound; }

 private:
  cap_t m_saved;
  bool m_bound = false;
};
