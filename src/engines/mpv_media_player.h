#pragma once

#include "engines/mpv_session.h"
#include "form/media_player.h"

// The general media engine on libmpv.
class MpvMediaPlayer : public MediaPlayer {
  Q_OBJECT
 public:
  explicit MpvMediaPlayer(const MpvOptions& options = {}, QObject* parent = nullptr);

  MpvSession& session() { return m_session; }

  void setURL(const QString& url) override;
  void close() override;
  void play() override;
  void stop() override;
  void pause() override;
  void setPlayCount(int count) override;
  void setMute(bool mute) override;
  QString sourceURL() const override { return m_source; }
  QString durationString() const override;
  int bandWidth() const override { return m_session.bitrate(); }
  int playState() const override { return m_state; }
  QString versionInfo() const override;
  void clearErrorQueue() override { m_errors.clear(); }
  int errorCount() const override { return static_cast<int>(m_errors.size()); }
  std::optional<ErrorItem> errorItem(int index) const override;

  // The error queue's code for a failure; only an unrecognised format gives
  // kUnsupportedFormat.
  static int errorCodeOf(LoadFailure failure);

 private:
  void setState(int state);
  void queueError(LoadFailure failure);

  MpvSession m_session;
  int m_state = Ready;
  QString m_source;
  QList<ErrorItem> m_errors;
};
