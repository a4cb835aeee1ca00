// Command-line arguments: what starts the window, what each command takes,
// and the one-line messages for what it does not.
#include <gtest/gtest.h>

#include "base/user_agent.h"
#include "cli/command_line.h"

using namespace cli;

namespace {

CommandLine parsed(const QStringList& args) {
  const auto result = parseCommandLine(args);
  EXPECT_TRUE(std::holds_alternative<CommandLine>(result))
      << std::get<UsageError>(result).message.toStdString();
  return std::holds_alternative<CommandLine>(result) ? std::get<CommandLine>(result)
                                                     : CommandLine{};
}

QString failure(const QStringList& args) {
  const auto result = parseCommandLine(args);
  EXPECT_TRUE(std::holds_alternative<UsageError>(result)) << args.join(' ').toStdString();
  return std::holds_alternative<UsageError>(result) ? std::get<UsageError>(result).message
                                                    : QString();
}

}  // namespace

TEST(CommandLineArguments, WindowOrCommand) {
  EXPECT_FALSE(isCommandLine({}));
  EXPECT_FALSE(isCommandLine({"--dir", "/tmp/x"}));
  EXPECT_FALSE(isCommandLine({"-platform", "offscreen"}));
  EXPECT_TRUE(isCommandLine({"--help"}));
  EXPECT_TRUE(isCommandLine({"-h"}));
  EXPECT_TRUE(isCommandLine({"scan"}));
  EXPECT_TRUE(isCommandLine({"nonsense"}));
}

TEST(CommandLineArguments, EachCommandWithItsOptions) {
  const CommandLine check = parsed({"check", "a.m3u", "b.txt", "--jobs", "16", "--timeout=5",
                                    "--out", "ok.txt", "--json", "--dir", "/d"});
  EXPECT_EQ(check.command, Command::Check);
  EXPECT_EQ(check.files, (QStringList{"a.m3u", "b.txt"}));
  EXPECT_EQ(check.jobs, 16);
  EXPECT_DOUBLE_EQ(check.timeoutSeconds, 5);
  EXPECT_EQ(check.out, "ok.txt");
  EXPECT_TRUE(check.json);
  EXPECT_EQ(check.dir, "/d");

  const CommandLine defaults = parsed({"check", "a.m3u"});
  EXPECT_EQ(defaults.jobs, 8);
  EXPECT_DOUBLE_EQ(defaults.timeoutSeconds, 15);
  EXPECT_FALSE(defaults.json);

  const CommandLine crawl = parsed({"crawl", "http://127.0.0.1:8080/", "--max-pages=3"});
  EXPECT_EQ(crawl.command, Command::Crawl);
  EXPECT_EQ(crawl.url, "http://127.0.0.1:8080/");
  EXPECT_EQ(crawl.maxPages, 3);

  EXPECT_EQ(parsed({"scan", "--dir", "/d"}).command, Command::Scan);
  const QString agent = QStringLiteral(" Mozilla/5.0 (X11; Linux, like Gecko) ");
  for (const QStringList& args : {QStringList{"scan", "--user-agent", agent},
                                  QStringList{"crawl", "http://a/", "--user-agent=" + agent},
                                  QStringList{"check", "a.m3u", "--user-agent", agent}})
    EXPECT_EQ(parsed(args).userAgent, agent.trimmed()) << args.first().toStdString();
  const CommandLine play = parsed({"play", "CCTV-1", "--list", "a.txt", "--list=b.m3u", "--for",
                                   "30", "--no-video", "--ao", "null", "--stall=2", "--bad", "3.5"});
  EXPECT_EQ(play.command, Command::Play);
  EXPECT_EQ(play.channel, "CCTV-1");
  EXPECT_EQ(play.lists, (QStringList{"a.txt", "b.m3u"}));
  EXPECT_DOUBLE_EQ(play.forSeconds, 30);
  EXPECT_TRUE(play.noVideo);
  EXPECT_EQ(play.audioOutput, "null");
  EXPECT_DOUBLE_EQ(play.stallSeconds, 2);
  EXPECT_DOUBLE_EQ(play.badSeconds, 3.5);
  const CommandLine playDefaults = parsed({"play", "http://a/live.m3u8"});
  EXPECT_DOUBLE_EQ(playDefaults.forSeconds, 0);
  EXPECT_DOUBLE_EQ(playDefaults.stallSeconds, 8);
  EXPECT_DOUBLE_EQ(playDefaults.badSeconds, 15);
  EXPECT_EQ(parsed({"import", "x.pls"}).files, QStringList{"x.pls"});
  EXPECT_EQ(parsed({"export", "-"}).files, QStringList{"-"});
  EXPECT_EQ(parsed({"--help"}).command, Command::Help);
  EXPECT_EQ(parsed({"check", "a", "--help"}).command, Command::Help);
}

TEST(CommandLineArguments, ErrorsAreOneBilingualLine) {
  const QStringList messages = {
      failure({"bogus"}),
      failure({"scan", "extra"}),
      failure({"scan", "--jobs", "2"}),
      failure({"check"}),
      failure({"check", "a", "--jobs"}),
      failure({"check", "a", "--jobs", "0"}),
      failure({"check", "a", "--jobs", "257"}),
      failure({"check", "a", "--jobs", "four"}),
      failure({"check", "a", "--timeout", "0"}),
      failure({"check", "a", "--timeout", "-3"}),
      failure({"check", "a", "--json=yes"}),
      failure({"check", "a", "-j", "4"}),
      failure({"check", "a", "--out="}),
      failure({"crawl"}),
      failure({"crawl", "http://a/", "http://b/"}),
      failure({"crawl", "http://a/", "--max-pages", "0"}),
      failure({"import"}),
      failure({"import", "a", "b"}),
      failure({"export", "--dir", "/d"}),
      failure({"check", "a", "--user-agent", "Box\r\nX-Injected: 1"}),
      failure({"check", "a", "--user-agent="}),
      failure({"import", "a", "--user-agent", "Box"}),
      failure({"play"}),
      failure({"play", "a", "b"}),
      failure({"play", "a", "--stall", "0"}),
      failure({"play", "a", "--for", "soon"}),
      failure({"play", "a", "--list="}),
  };
  for (const QString& m : messages) {
    EXPECT_FALSE(m.contains(u'\n')) << m.toStdString();
    EXPECT_TRUE(m.contains(QStringLiteral(" / "))) << m.toStdString();
  }
  EXPECT_TRUE(messages.first().contains("bogus"));
  EXPECT_TRUE(messages.at(2).contains("--jobs"));
}

TEST(CommandLineArguments, HelpNamesEveryCommandAndTheExitCodes) {
  const QString help = usageText();
  for (const char* word : {"scan", "crawl URL", "check FILE", "--jobs", "--timeout", "--out",
                           "--json", "import FILE", "export FILE", "--max-pages", "--dir", "play NAME|ADDRESS",
                           "--list FILE", "--for", "--stall", "--bad", "--ao"})
    EXPECT_TRUE(help.contains(QString::fromUtf8(word))) << word;
  EXPECT_TRUE(help.contains("0") && help.contains("1") && help.contains("2"));
  EXPECT_TRUE(help.contains(QLatin1StringView(useragent::kDefault)));
}
