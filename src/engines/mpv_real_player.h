#pragma once

#include "engines/mpv_session.h"
#include "form/real_player.h"

// The second engine on libmpv, driven by dispatch id.
class MpvRealPlayer : public RealPlayer {
  Q_OBJECT
 public:
  explicit MpvRealPlayer(const MpvOptions& options = {}, QObject* parent = nullptr);

  MpvSession& session() { return m_session; }

  bool put(int dispId, const QVariant& value) override;
  QVariant get(int dispId) const override;
  bool call(int dispId, const QVariantList& args = {}) override;

  // The code the error event carries for a failure.
  static int errorCodeOf(LoadFailure failure);

 private:
  void play();
  QString statusText() const;
  void setState(int state);

  MpvSession m_session;
  int m_state = Stopped;
  QString m_source;
  // The source of the last load.
  QString m_loaded;
};
