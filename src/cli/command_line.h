#pragma once

#include <QString>
#include <QStringList>
#include <variant>

namespace cli {

// Exit codes of every command.
enum ExitCode { kExitDone = 0, kExitSomeFailed = 1, kExitBadInput = 2 };

enum class Command { Help, Scan, Crawl, Check, Merge, Import, Export, Channels, Update, Play };

struct CommandLine {
  Command command = Command::Help;
  QString dir;                 // --dir: the program folder; "" for the executable's
  QStringList files;           // check FILE..., merge FILE..., import FILE, export FILE
  QString url;                 // crawl URL
  int maxPages = 0;            // crawl --max-pages; 0: until the queue is empty
  int jobs = 8;                // check --jobs
  int probes = 0;              // check --probes; 0: four times the jobs, at least 128
  double timeoutSeconds = 15;  // check --timeout
  double minPlaySeconds = 1;   // check --min-play
  int retries = 0;             // check --retries
  bool strict = false;         // check --strict
  QString out;                 // check, merge, channels --out
  QString m3u;                 // channels --m3u
  int keep = 0;                // channels --keep: lines per channel; 0: all
  bool all = false;            // channels --all: dead lines too
  bool fresh = false;          // check --fresh: lines still resting too
  bool noHistory = false;      // check --no-history
  bool check = false;          // update --check
  bool json = false;           // check, channels --json
  QString userAgent;           // --user-agent of scan, crawl and check; "" for the default
  QString jsonOut;             // check, merge --json-out
  bool resume = false;         // check --resume
  int shard = 0;               // check --shard K/N: K ...
  int shards = 1;              // ... and N
  bool refresh = false;        // check --refresh
  QString channel;             // play NAME|ADDRESS
  QStringList lists;           // play --list FILE, once per file
  double forSeconds = 0;       // play --for; 0: until stopped
  bool noVideo = false;        // play --no-video
  QString audioOutput;         // play --ao; "" for the default device, "null" for none
  double stallSeconds = 8;     // play --stall
  double badSeconds = 15;      // play --bad
};

// A one-line bilingual message for arguments that cannot be run.
struct UsageError {
  QString message;
};

// True when the arguments (without the program name) name a command, so no
// window starts: the first argument is a word or asks for help.
bool isCommandLine(const QStringList& args);

std::variant<CommandLine, UsageError> parseCommandLine(const QStringList& args);

// The text of --help.
QString usageText();

}  // namespace cli
