#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

#include "base/control_models.h"
#include "base/host.h"
#include "form/file_writes.h"
#include "form/media_player.h"
#include "form/real_player.h"
#include "form/web_browser.h"
#include "form/crawl_memory.h"
#include "history/health_db.h"

// An engine's place in the window: its container (visibility, height) and
// the engine behind it.
template <class Engine>
class EngineControl : public Control {
 public:
  EngineControl(const QString& name, Engine& engine) : Control(name), m_engine(engine) {}
  Engine* operator->() const { return &m_engine; }
  Engine& engine() const { return m_engine; }

 private:
  Engine& m_engine;
};

// The common file-open dialog: ShowOpen asks the host, FileName keeps the
// answer.
struct FileOpenDialog {
  QString FileName;
};

inline const QString kProductCaption = QStringLiteral("Orvanel网络电视-全新版");
inline const QString kVersion = QStringLiteral("5.5");
inline const QString kApplicationTitle = QStringLiteral("网络电视搜索器");

// The main window: every control under its design name, the three engines and
// the values all procedures share.
class Form {
 public:
  Form(Host& host, MediaPlayer& mediaPlayer, RealPlayer& realPlayer, WebBrowser& browser,
       const QString& programDir);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  Host& host;
  QString programDir;
  // A file of the program folder.
  QString path(const QString& fileName) const;
  // The number of the latest load of the station lists (see
  // library::ClearStationLists).
  quint64 stationListLoads = 0;
  // Every write of the program's files goes through here or is checked here.
  library::FileWrites writes{host};
  // What a procedure asks of a floor above its own; the wiring fills it in.
  struct UpwardCalls {
    std::function<void()> stopAll;              // playback::StopAll
    std::function<void()> playResolvedAddress;  // monitor::PlayResolvedAddress
  };
  UpwardCalls up;
  // What the players learn of each line; opened at the first record.
  history::HealthDb health;
  bool healthOpened = false;
  // The health history, opened (once) when first asked for.
  history::HealthDb& healthHistory();
  // True once the Unload sequence has ended the program.
  bool terminated = false;
  // Runs pending events, where Unload may run; false once the program has
  // ended, and then the procedure that yielded stops.
  [[nodiscard]] bool yield();
  // Hands the timers to the host; the Load sequence does it last, so no
  // timer ticks before the window has loaded.
  void startTimers();

  // The window itself: caption, width and height in twips, visibility.
  Control form1{"form1"};

  EngineControl<MediaPlayer> WindowsMediaPlayer1;
  EngineControl<RealPlayer> RealAudio1;
  EngineControl<WebBrowser> WebBrowser1;

  Frame Frame1{"Frame1"};
  Label Label1{"Label1"}, Label2{"Label2"}, Label3{"Label3"}, Label4{"Label4"}, l{"l"};
  ComboBox tvm{"tvm"}, dz1{"dz1"}, Combo1{"Combo1"};
  Button Command2{"Command2"}, Command3{"Command3"}, Command4{"Command4"},
      Command5{"Command5"}, Command9{"Command9"}, Command10{"Command10"},
      Command12{"Command12"}, Command14{"Command14"}, Command16{"Command16"},
      Command17{"Command17"}, Command18{"Command18"};
  CheckBox Check1{"Check1"}, Check2{"Check2"}, Check3{"Check3"};
  TextBox Text1{"Text1"}, Text2{"Text2"}, Text3{"Text3"}, Text4{"Text4"}, Text5{"Text5"},
      Text6{"Text6"}, Text7{"Text7"};
  ListBox List1{"List1"}, List2{"List2"}, List3{"List3"}, tvmx{"tvmx"};
  Timer Timer5{"Timer5", 50, true};
  Timer Timer8{"Timer8", 50, false};
  Timer Timer9{"Timer9", 100, false};
  Timer Timer10{"Timer10", 100, true};
  FileOpenDialog CommonDialog1;
  // The web search's address record beside Text1 and its index of dz1.
  search::CrawlMemory crawl{Text1, dz1};

  // Shared values.
  qint32 StationIndex = 0;
  QString PlayerKind;
  qint16 RunMode = 10;
  bool StopFlag = false;
  qint32 ElapsedMs = 0;
  qint32 RealStallStop = 0;
  QString PendingAddress;
  QString CurrentAddress;
  qint16 BrowserPlay = 0;
  int PlayingCount = 0;
  qint16 SearchState = 0;

 private:
  void setDesignTimeState();
};

// Values of RunMode, SearchState and BrowserPlay.
constexpr qint16 kNormalRun = 10;
constexpr qint16 kAutomaticRun = -10;
constexpr qint16 kSearchRunning = -10;
constexpr qint16 kSearchHalted = 10;
constexpr qint16 kBrowserShowsPage = 10;
constexpr qint16 kBrowserIdle = -10;

// Window sizes in twips.
constexpr int kCompactWidth = 8500;
constexpr int kCompactHeight = 6500;
constexpr int kTallHeight = 8000;
constexpr int kPlayingWidth = 8415;
constexpr int kWideWidth = 14505;
