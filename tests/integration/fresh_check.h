#pragma once

#include <QStringList>

#include "cli/command_line.h"

// A check of files with jobs players and a limit of timeoutSeconds a
// station; it checks every line, whatever an earlier run of the test found.
inline cli::CommandLine freshCheck(const QStringList& files, int jobs, int timeoutSeconds) {
  cli::CommandLine c;
  c.command = cli::Command::Check;
  c.fresh = true;
  c.files = files;
  c.jobs = jobs;
  c.timeoutSeconds = timeoutSeconds;
  return c;
}
