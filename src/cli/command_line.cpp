#include "cli/command_line.h"

#include <optional>

#include "base/header_value.h"
#include "base/user_agent.h"

namespace cli {

namespace {

struct CommandSyntax {
  QString word;
  Command command;
  QStringList options;  // long options this command takes
  int minArguments;
  int maxArguments;                      // -1: any number
  const char16_t* argumentZh = u"文件";  // what the arguments are, for messages
  const char16_t* argumentEn = u"a FILE";
};

const QList<CommandSyntax>& commandSyntaxes() {
  static const QList<CommandSyntax> syntaxes = {
      {QStringLiteral("scan"),
       Command::Scan,
       {QStringLiteral("--dir"), QStringLiteral("--user-agent")},
       0,
       0},
      {QStringLiteral("crawl"),
       Command::Crawl,
       {QStringLiteral("--dir"), QStringLiteral("--max-pages"), QStringLiteral("--user-agent")},
       1,
       1,
       u"网址",
       u"a URL"},
      {QStringLiteral("check"),
       Command::Check,
       {QStringLiteral("--dir"), QStringLiteral("--jobs"), QStringLiteral("--probes"),
        QStringLiteral("--timeout"), QStringLiteral("--min-play"), QStringLiteral("--retries"),
        QStringLiteral("--strict"), QStringLiteral("--out"), QStringLiteral("--json"),
        QStringLiteral("--json-out"), QStringLiteral("--resume"), QStringLiteral("--shard"),
        QStringLiteral("--user-agent"), QStringLiteral("--fresh"), QStringLiteral("--no-history"),
        QStringLiteral("--refresh")},
       1,
       -1},
      {QStringLiteral("merge"),
       Command::Merge,
       {QStringLiteral("--dir"), QStringLiteral("--out"), QStringLiteral("--json-out")},
       1,
       -1},
      {QStringLiteral("play"),
       Command::Play,
       {QStringLiteral("--dir"), QStringLiteral("--list"), QStringLiteral("--for"),
        QStringLiteral("--no-video"), QStringLiteral("--json"), QStringLiteral("--ao"),
        QStringLiteral("--stall"), QStringLiteral("--bad")},
       1,
       1,
       u"频道名或网址",
       u"a channel NAME or an ADDRESS"},
      {QStringLiteral("import"), Command::Import, {QStringLiteral("--dir")}, 1, 1},
      {QStringLiteral("export"), Command::Export, {QStringLiteral("--dir")}, 1, 1},
      {QStringLiteral("channels"),
       Command::Channels,
       {QStringLiteral("--dir"), QStringLiteral("--out"), QStringLiteral("--m3u"),
        QStringLiteral("--keep"), QStringLiteral("--json"), QStringLiteral("--all")},
       1,
       -1},
      {QStringLiteral("update"),
       Command::Update,
       {QStringLiteral("--dir"), QStringLiteral("--check"), QStringLiteral("--out"),
        QStringLiteral("--m3u"), QStringLiteral("--keep"), QStringLiteral("--user-agent")},
       0,
       0},
  };
  return syntaxes;
}

bool isHelp(const QString& arg) { return arg == u"-h" || arg == u"--help" || arg == u"help"; }

UsageError error(const QString& chinese, const QString& english) {
  return {chinese + QStringLiteral(" / ") + english};
}

// The options that take no value, and where they go.
bool* flagOf(const QString& option, CommandLine& c) {
  if (option == u"--json") return &c.json;
  if (option == u"--strict") return &c.strict;
  if (option == u"--resume") return &c.resume;
  if (option == u"--all") return &c.all;
  if (option == u"--fresh") return &c.fresh;
  if (option == u"--no-history") return &c.noHistory;
  if (option == u"--check") return &c.check;
  if (option == u"--no-video") return &c.noVideo;
  if (option == u"--refresh") return &c.refresh;
  return nullptr;
}

std::optional<UsageError> setShard(const QString& value, CommandLine& c) {
  const QStringList parts = value.split(u'/');
  bool okK = false, okN = false;
  if (parts.size() == 2) {
    c.shard = parts[0].toInt(&okK);
    c.shards = parts[1].toInt(&okN);
  }
  if (!okK || !okN || c.shards < 1 || c.shard < 0 || c.shard >= c.shards)
    return error(QStringLiteral("--shard 须为 K/N，0 ≤ K < N"),
                 QStringLiteral("--shard must be K/N with 0 <= K < N"));
  return std::nullopt;
}

std::optional<UsageError> setCount(const QString& option, const QString& value, int min, int max,
                                   int& target) {
  bool ok = false;
  target = value.toInt(&ok);
  if (ok && target >= min && target <= max) return std::nullopt;
  return error(QStringLiteral("%1 须为 %2 到 %3 的整数").arg(option).arg(min).arg(max),
               QStringLiteral("%1 must be a whole number from %2 to %3").arg(option).arg(min).arg(max));
}

std::optional<UsageError> setSeconds(const QString& option, const QString& value, double min,
                                     double max, double& target) {
  bool ok = false;
  target = value.toDouble(&ok);
  if (ok && target >= min && target <= max) return std::nullopt;
  return error(QStringLiteral("%1 须为 %2 到 %3 秒").arg(option).arg(min).arg(max),
               QStringLiteral("%1 must be from %2 to %3 seconds").arg(option).arg(min).arg(max));
}

std::optional<UsageError> setNumber(const QString& option, const QString& value, CommandLine& c) {
  bool ok = false;
  if (option == u"--for") return setSeconds(option, value, 0.1, 1e7, c.forSeconds);
  if (option == u"--stall") return setSeconds(option, value, 0.5, 3600, c.stallSeconds);
  if (option == u"--bad") return setSeconds(option, value, 0.5, 3600, c.badSeconds);
  if (option == u"--probes") return setCount(option, value, 1, 4096, c.probes);
  if (option == u"--retries") return setCount(option, value, 0, 10, c.retries);
  if (option == u"--keep") return setCount(option, value, 1, 1000, c.keep);
  if (option == u"--shard") return setShard(value, c);
  if (option == u"--min-play") {
    c.minPlaySeconds = value.toDouble(&ok);
    if (!ok || !(c.minPlaySeconds >= 0.1 && c.minPlaySeconds <= 60))
      return error(QStringLiteral("--min-play 须为 0.1 到 60 秒"),
                   QStringLiteral("--min-play must be from 0.1 to 60 seconds"));
  } else if (option == u"--jobs") {
    c.jobs = value.toInt(&ok);
    if (!ok || c.jobs < 1 || c.jobs > 256)
      return error(QStringLiteral("--jobs 须为 1 到 256 的整数"),
                   QStringLiteral("--jobs must be a whole number from 1 to 256"));
  } else if (option == u"--timeout") {
    c.timeoutSeconds = value.toDouble(&ok);
    if (!ok || !(c.timeoutSeconds >= 0.1 && c.timeoutSeconds <= 3600))
      return error(QStringLiteral("--timeout 须为 0.1 到 3600 秒"),
                   QStringLiteral("--timeout must be from 0.1 to 3600 seconds"));
  } else {
    c.maxPages = value.toInt(&ok);
    if (!ok || c.maxPages < 1)
      return error(QStringLiteral("--max-pages 须为正整数"),
                   QStringLiteral("--max-pages must be a positive whole number"));
  }
  return std::nullopt;
}

// The value goes into request lines: a line break would start a header of
// the user's making in every request.
std::optional<UsageError> setUserAgent(const QString& value, CommandLine& c) {
  if (value.trimmed().isEmpty() || !headervalue::isSafe(value.toUtf8()))
    return error(QStringLiteral("--user-agent 须为非空的单行文字"),
                 QStringLiteral("--user-agent must be one line of text"));
  c.userAgent = value.trimmed();
  return std::nullopt;
}

std::optional<UsageError> setOption(const QString& option, const QString& value, CommandLine& c) {
  if (option == u"--dir")
    c.dir = value;
  else if (option == u"--out")
    c.out = value;
  else if (option == u"--m3u")
    c.m3u = value;
  else if (option == u"--user-agent")
    return setUserAgent(value, c);
  else if (option == u"--json-out")
    c.jsonOut = value;
  else if (option == u"--list")
    c.lists << value;
  else if (option == u"--ao")
    c.audioOutput = value;
  else
    return setNumber(option, value, c);
  if (value.isEmpty())
    return error(QStringLiteral("选项 %1 的值为空").arg(option),
                 QStringLiteral("option %1 has an empty value").arg(option));
  return std::nullopt;
}

std::optional<UsageError> checkArgumentCount(const CommandSyntax& syntax,
                                             const QStringList& words) {
  if (words.size() < syntax.minArguments)
    return error(
        QStringLiteral("命令 %1 缺少%2").arg(syntax.word, QString::fromUtf16(syntax.argumentZh)),
        QStringLiteral("%1 needs %2").arg(syntax.word, QString::fromUtf16(syntax.argumentEn)));
  if (syntax.maxArguments >= 0 && words.size() > syntax.maxArguments)
    return error(QStringLiteral("多余的参数“%1”").arg(words.at(syntax.maxArguments)),
                 QStringLiteral("unexpected argument '%1'").arg(words.at(syntax.maxArguments)));
  return std::nullopt;
}

}  // namespace

bool isCommandLine(const QStringList& args) {
  return !args.isEmpty() && (isHelp(args.first()) || !args.first().startsWith(u'-'));
}

std::variant<CommandLine, UsageError> parseCommandLine(const QStringList& args) {
  CommandLine c;
  if (args.isEmpty() || isHelp(args.first())) return c;
  const auto syntax = std::find_if(commandSyntaxes().begin(), commandSyntaxes().end(),
                                   [&](const CommandSyntax& s) { return s.word == args.first(); });
  if (syntax == commandSyntaxes().end())
    return error(QStringLiteral("未知命令“%1”").arg(args.first()),
                 QStringLiteral("unknown command '%1'").arg(args.first()));
  c.command = syntax->command;
  QStringList words;
  for (int i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (isHelp(arg) && arg.startsWith(u'-')) return CommandLine{};
    if (!arg.startsWith(u'-') || arg == u"-") {
      words << arg;
      continue;
    }
    const int eq = arg.indexOf(u'=');
    const QString option = eq < 0 ? arg : arg.left(eq);
    if (!syntax->options.contains(option))
      return error(QStringLiteral("命令 %1 没有选项“%2”").arg(syntax->word, option),
                   QStringLiteral("%1 has no option '%2'").arg(syntax->word, option));
    if (bool* flag = flagOf(option, c)) {
      if (eq >= 0)
        return error(QStringLiteral("%1 不带值").arg(option),
                     QStringLiteral("%1 takes no value").arg(option));
      *flag = true;
      continue;
    }
    if (eq < 0 && i + 1 >= args.size())
      return error(QStringLiteral("选项 %1 缺少值").arg(option),
                   QStringLiteral("option %1 needs a value").arg(option));
    const QString value = eq >= 0 ? arg.mid(eq + 1) : args[++i];
    if (auto problem = setOption(option, value, c)) return *problem;
  }
  if (auto problem = checkArgumentCount(*syntax, words)) return *problem;
  if (c.resume && c.jsonOut.isEmpty())
    return error(QStringLiteral("--resume 需要 --json-out 文件"),
                 QStringLiteral("--resume needs --json-out FILE"));
  if (c.command == Command::Crawl)
    c.url = words.value(0);
  else if (c.command == Command::Play)
    c.channel = words.value(0);
  else
    c.files = words;
  return c;
}

QString usageText() {
  return QStringLiteral(
      "用法 / usage:\n"
      "  nettv                      打开窗口 / start the window\n"
      "  nettv scan [--user-agent UA] [--dir D]\n"
      "      测试搜索结果中的电台（同窗口的“搜台”），可播放的存入 tv_lib_ss_jg.txt\n"
      "      test the found stations as the window's station test does; stations\n"
      "      that play are stored in tv_lib_ss_jg.txt\n"
      "  nettv crawl URL [--max-pages N] [--user-agent UA] [--dir D]\n"
      "      从 URL 开始自动网上搜索，找到的电台存入 tv_lib_ss_www.txt\n"
      "      crawl the web from URL as an automatic web search; found stations are\n"
      "      stored in tv_lib_ss_www.txt; stops after N pages or an empty queue\n"
      "  nettv check FILE... [--jobs N] [--probes M] [--timeout S] [--min-play P]\n"
      "              [--retries R] [--strict] [--out FILE] [--json] [--json-out FILE]\n"
      "              [--resume] [--shard K/N] [--user-agent UA] [--fresh] [--no-history]\n"
      "              [--refresh] [--dir D]\n"
      "      同时用 N 个播放器（默认 8）测试文件中的电台：S 秒内（默认 15，连接与播放合计）\n"
      "      解码出 P 秒（默认 1）媒体即通过；通过的电台随时追加到 tv_lib_ss_jg.txt（或 --out）\n"
      "      test the stations of station files or M3U/M3U8/PLS/ASX playlists with N\n"
      "      players at once (default 8) and M connection attempts ahead of them\n"
      "      (default 4N, at least 128); a station passes when P seconds of media\n"
      "      (default 1) are decoded within S seconds (default 15, connecting\n"
      "      included, waiting for a free player not); passing stations are\n"
      "      appended to tv_lib_ss_jg.txt (or --out) as they pass;\n"
      "      --retries R tries failed stations again R times; --strict fails silent,\n"
      "      black or frozen stations; --json prints one JSON object per station and\n"
      "      --json-out writes them to FILE as they come; --resume skips the stations\n"
      "      already in that FILE and counts them in its summary; fewer probes run\n"
      "      when the open-file limit is too low; --shard K/N checks every N-th\n"
      "      station from the K-th (K from 0); every verdict goes into health.db\n"
      "      (not with --no-history), and lines that failed lately rest a while (a\n"
      "      minute after the first failure, doubling, at most a day) unless --fresh;\n"
      "      --refresh loads again the page of a station refused or not found (or\n"
      "      whose token expired), checks the address found there and writes it\n"
      "      into the station's FILE\n"
      "  nettv merge FILE... [--json-out FILE] [--out FILE] [--dir D]\n"
      "      合并各分片的 JSON 结果为一份报告，并把通过的电台存入 tv_lib_ss_jg.txt（或 --out）\n"
      "      join the JSON lines of check shards into one report (standard output or\n"
      "      --json-out) and one passing list (tv_lib_ss_jg.txt or --out); a station\n"
      "      that passed in any shard passes\n"
      "  nettv play NAME|ADDRESS [--list FILE]... [--for S] [--no-video] [--ao DRIVER]\n"
      "             [--stall S] [--bad S] [--json] [--dir D]\n"
      "      播放一个频道（按名称，在 --list 文件或程序文件夹的电台文件中找它的各条线路）或一个\n"
      "      网址；线路无法播放、卡住或黑屏/无声时自动切换到下一条线路，每个事件打印一行\n"
      "      play a channel (by name, its lines from the --list files or the program\n"
      "      folder's station files) or an address without a window, switching to the\n"
      "      next line when one fails, stalls for S seconds (--stall, default 8) or\n"
      "      stays black, silent or frozen (--bad, default 15); prints one line per\n"
      "      event (--json: one JSON object); ends after --for seconds of good play\n"
      "      (exit 0) or when every line failed (exit 1); a line whose token expired\n"
      "      is refreshed from its page and written back into its --list file;\n"
      "      --ao null plays without a sound device, --no-video decodes no picture\n"
      "  nettv import FILE\n"
      "      把播放列表（M3U/M3U8/PLS/ASX/txt 频道列表/电台文件）中的电台加入\n"
      "      tv_lib_ss_jg.txt\n"
      "      append the stations of a playlist (M3U/M3U8/PLS/ASX, Chinese txt channel\n"
      "      list, station file) to tv_lib_ss_jg.txt, without duplicates\n"
      "  nettv export FILE.m3u\n"
      "      把 tv_lib_ss_jg.txt 中的电台导出为 M3U8 播放列表\n"
      "      write the stations of tv_lib_ss_jg.txt as an M3U8 playlist\n"
      "  nettv channels FILE... [--out FILE.txt] [--m3u FILE.m3u] [--keep N] [--json]\n"
      "                 [--all] [--dir D]\n"
      "      把电台按频道归并（同一频道的不同写法合为一个），每个频道的线路按测得的好坏排序\n"
      "      group the stations of the lists into channels (spellings merged, alias.txt)\n"
      "      and write each channel once with its lines best first, as a txt channel\n"
      "      list (--out, or standard output) and an M3U (--m3u); --keep N keeps the N\n"
      "      best lines; lines that failed and have not played within a day are left\n"
      "      out unless --all; --json prints each channel with the figures of its lines\n"
      "  nettv update [--check] [--out FILE.txt] [--m3u FILE.m3u] [--keep N]\n"
      "               [--user-agent UA] [--dir D]\n"
      "      按 subscribe.txt 更新订阅：下载各订阅源（未变的不重下），新线路加入 tv_lib.txt；\n"
      "      --check 测试到期的线路；--out/--m3u 写出排好序的频道列表（同 channels）\n"
      "      fetch every source of subscribe.txt (conditional requests: an unchanged\n"
      "      source is not fetched again) and add their new lines to tv_lib.txt;\n"
      "      --check checks the lines whose retry time has come; --out and --m3u\n"
      "      write the ranked channels as channels does\n"
      "  --user-agent UA  电台未指定时发送的 User-Agent / the User-Agent sent when a\n"
      "             station names none (default %1)\n"
      "  --dir D    程序文件夹（默认为程序所在文件夹）/ the program folder (default: the\n"
      "             executable's folder)\n"
      "退出码 / exit codes: 0 完成 done, 1 有电台未通过 some stations failed (check) or\n"
      "  every line of the channel failed (play),\n"
      "  2 参数错误、无法读取输入或播放引擎无法启动 bad arguments, unreadable input, or\n"
      "  the media engine could not start\n")
      .arg(QLatin1StringView(useragent::kDefault));
}

}  // namespace cli
