#include "fake_engines.h"

void FakeMediaPlayer::setURL(const QString& url) {
  m_log << "wmp.URL=" + url;
  source = url;
  if (onSetURL) onSetURL(url);
}

void FakeMediaPlayer::close() {
  m_log << "wmp.close";
  if (onClose) onClose();
}

void FakeMediaPlayer::clearErrorQueue() {
  m_log << "wmp.clearErrorQueue";
  errors.clear();
}

std::optional<MediaPlayer::ErrorItem> FakeMediaPlayer::errorItem(int index) const {
  if (errorReadFails || index < 0 || index >= errors.size()) return std::nullopt;
  return errors.at(index);
}

void FakeMediaPlayer::raiseState(int newState) {
  state = newState;
  Q_EMIT PlayStateChange(newState);
}

void FakeMediaPlayer::raiseError(int code, const QString& description) {
  errors.append({code, description});
  Q_EMIT Error();
}

FakeRealPlayer::FakeRealPlayer(QStringList& log) : m_log(log) {
  props[Version] = QStringLiteral("16.0.0.35");
  props[PlayState] = Stopped;
  props[Length] = 0;
  props[StatusText] = QString();
}

bool FakeRealPlayer::put(int dispId, const QVariant& value) {
  m_log << QString("real.put(%1,%2)").arg(dispId).arg(value.toString());
  props[dispId] = value;
  return true;
}

QVariant FakeRealPlayer::get(int dispId) const {
  if (logGets) m_log << QString("real.get(%1)").arg(dispId);
  return props.value(dispId);
}

bool FakeRealPlayer::call(int dispId, const QVariantList& args) {
  QStringList parts;
  for (const QVariant& a : args) parts << a.toString();
  m_log << QString("real.call(%1%2)").arg(dispId).arg(parts.isEmpty() ? QString() : "," + parts.join(','));
  if (dispId == Play && onPlay) onPlay(props.value(Source).toString());
  if (dispId == Stop && onStop) onStop();
  return true;
}

void FakeRealPlayer::raiseState(int newState) {
  const int old = props.value(PlayState).toInt();
  props[PlayState] = newState;
  Q_EMIT StateChange(old, newState);
}

void FakeRealPlayer::raiseError(int code) { Q_EMIT ErrorEvent(0, code, 0, {}, {}, {}); }

void FakeBrowser::Navigate(const QString& url) {
  m_log << "web.Navigate(" + url + ")";
  if (onNavigate) onNavigate(url);
}

void FakeBrowser::complete(const QString& url, const Document& page) {
  location = url;
  doc = page;
  Q_EMIT DocumentComplete(url);
}

void FakeBrowser::raiseNavigateError(const QString& url) { Q_EMIT NavigateError(url); }
