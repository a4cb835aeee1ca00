#pragma once

#include <QSet>
#include <QString>
#include <utility>

namespace playlists {

// A set of keys held as two independent hashes of each: a million keys cost
// a few dozen MB instead of a copy of every one.
class KeySet {
 public:
  using Hash = std::pair<size_t, size_t>;

  static Hash hashOf(const QString& key) {
    return {qHash(key, 0x9e3779b9u), qHash(key, 0x85ebca6bu)};
  }
  // True when the key was not in the set; it is from now on.
  bool add(const Hash& hash) {
    const qsizetype before = m_keys.size();
    m_keys.insert(hash);
    return m_keys.size() > before;
  }
  bool add(const QString& key) { return add(hashOf(key)); }
  bool contains(const Hash& hash) const { return m_keys.contains(hash); }
  bool contains(const QString& key) const { return contains(hashOf(key)); }
  void clear() { m_keys.clear(); }

 private:
  QSet<Hash> m_keys;
};

}  // namespace playlists
