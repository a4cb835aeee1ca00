// Channel keys and aliases: the spellings found in real station lists fall
// into their channels, channels that differ stay apart, a broken alias file
// costs only its broken lines, and keying a large list is quick.
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <thread>

#include "plain_build.h"
#include "playlists/channel_aliases.h"
#include "playlists/channel_key.h"
#include "playlists/name_query.h"
#include "playlists/pinyin.h"
#include "form_fixture.h"  // prints texts in failure messages
#include "temp_files.h"
#include "thread_cpu_time.h"

namespace {

using playlists::ChannelNames;

const ChannelNames& deliveredNames() {
  static const ChannelNames names = ChannelNames::load(NETTV_DATA_DIR "/alias.txt");
  return names;
}

struct Spelling {
  const char* name;
  const char* channel;
};

// Station names as lists write them, and the channel of each.
const Spelling kSpellings[] = {
    {"CCTV-1 综合", "CCTV-1"}, {"CCTV1", "CCTV-1"}, {"cctv-1高清", "CCTV-1"},
    {"CCTV 1 HD", "CCTV-1"}, {"中央一台", "CCTV-1"}, {"CCTV-1 [1080p]", "CCTV-1"},
    {"ＣＣＴＶ－１", "CCTV-1"}, {"ｃｃｔｖ１", "CCTV-1"}, {"CCTV-1综合频道", "CCTV-1"},
    {"CCTV1 综合 HD", "CCTV-1"}, {"CCTV-1(备)", "CCTV-1"}, {"CCTV-1 [v6]", "CCTV-1"},
    {"CCTV1-IPV6", "CCTV-1"}, {"央视一套", "CCTV-1"}, {"中央1台", "CCTV-1"},
    {"CCTV-1 FHD", "CCTV-1"}, {"CCTV-1(电信)", "CCTV-1"}, {"CCTV1_联通", "CCTV-1"},
    {"CCTV-1|移动", "CCTV-1"}, {"【高清】CCTV-1", "CCTV-1"}, {"CCTV-1 1080i", "CCTV-1"},
    {"CCTV-01", "CCTV-1"}, {"cctv1 高清 备2", "CCTV-1"}, {"CCTV-1 50FPS", "CCTV-1"},
    {"CCTV-1 H265", "CCTV-1"}, {"CCTV 1 (1)", "CCTV-1"}, {"CCTV·1", "CCTV-1"},
    {"CCTV1HD", "CCTV-1"}, {"CCTV-1 综合（高清）", "CCTV-1"}, {"  CCTV-1\t", "CCTV-1"},
    {"CCTV-1 [Geo-blocked]", "CCTV-1"}, {"中央电视台综合频道", "CCTV-1"},
    {"CCTV-1 2", "CCTV-1"}, {"CCTV-1_2", "CCTV-1"}, {"CCTV-1综合 (1080p) 2", "CCTV-1"},
    {"CCTV-1综合-2", "CCTV-1"}, {"CCTV-1 #2", "CCTV-1"}, {"CCTV-1 1920x1080", "CCTV-1"},
    {"CCTV-1 HD 50", "CCTV-1"},
    {"CCTV-2 财经", "CCTV-2"}, {"CCTV2财经", "CCTV-2"}, {"中央二台", "CCTV-2"},
    {"央视财经 HD", "CCTV-2"}, {"CCTV-2 经济", "CCTV-2"},
    {"CCTV3 综艺", "CCTV-3"}, {"CCTV-3 标清", "CCTV-3"}, {"中央3台", "CCTV-3"},
    {"CCTV-4 中文国际", "CCTV-4"}, {"CCTV4", "CCTV-4"}, {"CCTV-4 (亚洲)", "CCTV-4"},
    {"CCTV-4 中文国际 亚洲 HD", "CCTV-4"}, {"CCTV-4 [1080p]", "CCTV-4"},
    {"CCTV-4 欧洲", "CCTV-4 欧洲"}, {"CCTV4欧洲", "CCTV-4 欧洲"}, {"CCTV-4 (欧洲)", "CCTV-4 欧洲"},
    {"CCTV-4 中文国际 欧洲", "CCTV-4 欧洲"}, {"CCTV-4欧洲 高清", "CCTV-4 欧洲"},
    {"CCTV-4 Europe", "CCTV-4 欧洲"},
    {"CCTV-4 美洲", "CCTV-4 美洲"}, {"CCTV4美洲HD", "CCTV-4 美洲"},
    {"CCTV-4【美洲】", "CCTV-4 美洲"}, {"CCTV-4 America", "CCTV-4 美洲"},
    {"CCTV-5 体育", "CCTV-5"}, {"CCTV5", "CCTV-5"}, {"CCTV-5 HD", "CCTV-5"}, {"中央五台", "CCTV-5"},
    {"央视体育", "CCTV-5"}, {"CCTV-5体育 (备)", "CCTV-5"},
    {"CCTV5+", "CCTV-5+"}, {"CCTV-5+ 体育赛事", "CCTV-5+"}, {"CCTV5+体育赛事 HD", "CCTV-5+"},
    {"CCTV-5+ [1080p]", "CCTV-5+"}, {"cctv 5+", "CCTV-5+"}, {"CCTV-5 Plus", "CCTV-5+"},
    {"CCTV5plus", "CCTV-5+"}, {"CCTV-5+ 2", "CCTV-5+"},
    {"CCTV-6 电影", "CCTV-6"}, {"CCTV6电影频道", "CCTV-6"}, {"中央六台", "CCTV-6"},
    {"CCTV-6 [v6]", "CCTV-6"},
    {"CCTV-7 国防军事", "CCTV-7"}, {"CCTV7军事", "CCTV-7"}, {"CCTV-7 军事农业", "CCTV-7"},
    {"CCTV-8 电视剧", "CCTV-8"}, {"CCTV8 HD", "CCTV-8"}, {"中央8台", "CCTV-8"},
    {"CCTV-9 纪录", "CCTV-9"}, {"CCTV9纪录片", "CCTV-9"}, {"央视纪录", "CCTV-9"},
    {"CCTV-10 科教", "CCTV-10"}, {"CCTV10", "CCTV-10"}, {"中央十台", "CCTV-10"},
    {"CCTV-11 戏曲", "CCTV-11"}, {"CCTV11 HD", "CCTV-11"},
    {"CCTV-12 社会与法", "CCTV-12"}, {"CCTV12", "CCTV-12"},
    {"CCTV-13 新闻", "CCTV-13"}, {"CCTV13新闻 高清", "CCTV-13"}, {"央视新闻", "CCTV-13"},
    {"CCTV新闻频道", "CCTV-13"},
    {"CCTV-14 少儿", "CCTV-14"}, {"CCTV14少儿频道", "CCTV-14"},
    {"CCTV-15 音乐", "CCTV-15"}, {"CCTV15", "CCTV-15"},
    {"CCTV-16 奥林匹克", "CCTV-16"}, {"CCTV16 4K", "CCTV-16"},
    {"CCTV-17 农业农村", "CCTV-17"}, {"CCTV17农业农村 HD", "CCTV-17"},
    {"CCTV-4K", "CCTV-4K"}, {"CCTV4K", "CCTV-4K"}, {"CCTV-4K 超高清", "CCTV-4K"},
    {"CCTV 4K", "CCTV-4K"}, {"cctv4k超高清 (备)", "CCTV-4K"},
    {"CCTV-8K", "CCTV-8K"}, {"CCTV8K 超高清", "CCTV-8K"},
    {"CGTN", "CGTN"}, {"CGTN News", "CGTN"}, {"CGTN HD", "CGTN"}, {"CGTN 英语", "CGTN"},
    {"CGTN Documentary", "CGTN 纪录"}, {"CGTN纪录 HD", "CGTN 纪录"},
    {"CGTN-Documentary", "CGTN 纪录"}, {"CGTN Español", "CGTN 西班牙语"},
    {"CGTN Spanish", "CGTN 西班牙语"}, {"CGTN Français", "CGTN 法语"},
    {"CGTN Arabic", "CGTN 阿拉伯语"}, {"CGTN Русский", "CGTN 俄语"},
    {"湖南衛視", "湖南卫视"}, {"湖南卫视HD", "湖南卫视"}, {"湖南卫视-高清", "湖南卫视"},
    {"湖南卫视 [1080p]", "湖南卫视"}, {"湖南卫视(备)", "湖南卫视"}, {"湖南卫视 电信", "湖南卫视"},
    {"Hunan TV", "湖南卫视"}, {"湖南卫视频道", "湖南卫视"}, {"湖南卫视-2", "湖南卫视"},
    {"湖南卫视_1", "湖南卫视"},
    {"北京卫视 HD", "北京卫视"}, {"BTV北京卫视", "北京卫视"}, {"北京衛視", "北京卫视"},
    {"东方卫视 高清", "东方卫视"}, {"上海东方卫视", "东方卫视"}, {"東方衛視", "东方卫视"},
    {"Dragon TV", "东方卫视"}, {"江苏卫视 FHD", "江苏卫视"}, {"浙江卫视 1080P", "浙江卫视"},
    {"广东卫视[v6]", "广东卫视"}, {"深圳卫视 4K", "深圳卫视"}, {"内蒙卫视", "内蒙古卫视"},
    {"内蒙古蒙语卫视 HD", "内蒙古蒙语卫视"}, {"福建东南卫视", "东南卫视"},
    {"海峡卫视", "海峡卫视"}, {"旅游卫视", "海南卫视"}, {"新疆兵团卫视", "兵团卫视"},
    {"厦门卫视 高清", "厦门卫视"}, {"黑龍江衛視", "黑龙江卫视"}, {"重慶衛視", "重庆卫视"},
    {"广西卫视｜高清", "广西卫视"}, {"四川卫视·HD", "四川卫视"}, {"山东卫视 IPV6", "山东卫视"},
    {"藏语卫视", "西藏藏语卫视"}, {"南方卫视", "大湾区卫视"}, {"天津卫视 [电信]", "天津卫视"},
    {"河北卫视-标清", "河北卫视"}, {"安徽卫视_联通", "安徽卫视"}, {"甘肃卫视 超清", "甘肃卫视"},
    {"宁夏卫视 蓝光", "宁夏卫视"}, {"青海卫视 普清", "青海卫视"}, {"陕西卫视（备用）", "陕西卫视"},
    {"云南卫视【高清】", "云南卫视"}, {"贵州卫视「HD」", "贵州卫视"}, {"江西卫视 576i", "江西卫视"},
    {"辽宁卫视 720P", "辽宁卫视"}, {"吉林卫视 SD", "吉林卫视"}, {"河南卫视 UHD", "河南卫视"},
    {"湖北卫视 HDR", "湖北卫视"}, {"山西卫视 2160p", "山西卫视"}, {"新疆卫视 HEVC", "新疆卫视"},
    {"翡翠台", "翡翠台"}, {"TVB翡翠台", "翡翠台"}, {"翡翠台 HD", "翡翠台"}, {"無綫翡翠台", "翡翠台"},
    {"TVB Jade", "翡翠台"}, {"明珠台", "明珠台"}, {"TVB Pearl", "明珠台"},
    {"無綫新聞台", "无线新闻台"}, {"TVB News", "无线新闻台"},
    {"鳳凰衛視中文台", "凤凰卫视中文台"}, {"凤凰中文", "凤凰卫视中文台"},
    {"凤凰卫视中文台 HD", "凤凰卫视中文台"}, {"Phoenix Chinese", "凤凰卫视中文台"},
    {"鳳凰衛視資訊台", "凤凰卫视资讯台"}, {"凤凰资讯 高清", "凤凰卫视资讯台"},
    {"Phoenix InfoNews", "凤凰卫视资讯台"}, {"凤凰香港", "凤凰卫视香港台"},
    {"鳳凰衛視香港台", "凤凰卫视香港台"}, {"ViuTV", "ViuTV"}, {"RTHK 31", "港台电视31"},
    {"港台電視31", "港台电视31"},
    {"澳門蓮花", "澳门莲花"}, {"澳门莲花卫视", "澳门莲花"}, {"澳視澳門", "澳视澳门"},
    {"TDM 澳视澳门", "澳视澳门"},
    {"中天新聞台", "中天新闻"}, {"中天新闻 HD", "中天新闻"}, {"東森新聞台", "东森新闻"},
    {"EBC News", "东森新闻"}, {"東森財經新聞台", "东森财经新闻"}, {"TVBS新聞", "TVBS新闻"},
    {"TVBS-NEWS", "TVBS新闻"}, {"TVBS NEWS HD", "TVBS新闻"}, {"TVBS", "TVBS"},
    {"民視", "民视"}, {"民視新聞台", "民视新闻"}, {"台視", "台视"}, {"台灣電視", "台视"},
    {"中視", "中视"}, {"華視", "华视"}, {"中華電視", "华视"}, {"公視", "公视"},
    {"公共電視", "公视"}, {"三立新聞台", "三立新闻"}, {"年代新聞台", "年代新闻"},
    {"寰宇新聞台", "寰宇新闻"}, {"非凡新聞台", "非凡新闻"},
};

// Names of different channels, which must never share a key.
const Spelling kApart[] = {
    {"CCTV-4", "CCTV-4 欧洲"}, {"CCTV-4", "CCTV-4 美洲"}, {"CCTV-4 欧洲", "CCTV-4 美洲"},
    {"CCTV-4 (欧洲)", "CCTV-4 (备)"}, {"CCTV-5", "CCTV-5+"}, {"CCTV5 HD", "CCTV5+ HD"},
    {"CCTV-5 体育", "CCTV-5+ 体育赛事"}, {"CCTV-4K", "CCTV-4"}, {"CCTV4K", "CCTV 4"},
    {"CCTV-8K", "CCTV-8"}, {"CCTV-4K", "CCTV-8K"}, {"CCTV-1", "CCTV-10"}, {"CCTV-1", "CCTV-11"},
    {"CCTV-1", "CCTV-17"}, {"CCTV-6", "CCTV-16"}, {"CCTV-2", "CCTV-12"}, {"CCTV-13", "CGTN"},
    {"CCTV-1 2", "CCTV-12"}, {"CCTV-1_2", "CCTV-12"}, {"沧州-1", "沧州-2"}, {"RTHK 31", "RTHK 32"},
    {"凤凰卫视中文台", "凤凰卫视资讯台"}, {"凤凰卫视中文台", "凤凰卫视香港台"},
    {"凤凰卫视资讯台", "凤凰卫视香港台"}, {"凤凰中文", "凤凰卫视电影台"},
    {"CGTN", "CGTN 纪录"}, {"CCTV-9 纪录", "CGTN 纪录"}, {"CGTN 法语", "CGTN 俄语"},
    {"内蒙古卫视", "内蒙古蒙语卫视"}, {"西藏卫视", "西藏藏语卫视"}, {"东南卫视", "海峡卫视"},
    {"山东卫视", "山东教育卫视"}, {"陕西卫视", "农林卫视"}, {"翡翠台", "明珠台"},
    {"翡翠台", "无线新闻台"}, {"民视", "民视新闻"}, {"TVBS", "TVBS新闻"},
    {"中天新闻", "中天综合"}, {"东森新闻", "东森财经新闻"}, {"三立台湾台", "三立都会台"},
    {"港台电视31", "港台电视32"}, {"澳门莲花", "澳门卫视"}, {"湖南卫视", "湖南经视"},
    {"湖南卫视", "湖南卫视国际"}, {"CHC家庭影院", "CHC动作电影"}, {"HD", "SD"},
    {"高清", "标清"}, {"TVB星河台", "TVB"}, {"Channel 1", "Channel 10"},
};

TEST(ChannelKeyTest, SpellingsFallIntoTheirChannels) {
  const ChannelNames& names = deliveredNames();
  ASSERT_TRUE(names.problems().isEmpty()) << names.problems().join('\n').toStdString();
  for (const Spelling& s : kSpellings) {
    EXPECT_EQ(names.canonicalName(s.name), s.channel) << s.name;
    EXPECT_EQ(names.key(s.name), names.key(s.channel)) << s.name;
  }
}

TEST(ChannelKeyTest, DifferentChannelsStayApart) {
  const ChannelNames& names = deliveredNames();
  for (const Spelling& pair : kApart) {
    EXPECT_NE(names.key(pair.name), names.key(pair.channel)) << pair.name << " / " << pair.channel;
    EXPECT_NE(playlists::channelKey(pair.name), playlists::channelKey(pair.channel))
        << pair.name << " / " << pair.channel;
  }
}

TEST(ChannelKeyTest, UnknownNamesAreTheirOwnChannels) {
  const ChannelNames& names = deliveredNames();
  const struct {
    const char* name;
    const char* key;
  } cases[] = {
      {"TVB星河台 HD", "tvb星河"}, {"ＣＨＣ動作電影 [1080p]", "chc动作电影"},
      {"Channel 5 (Not 24/7)", "channel5"}, {"Radio (Live)", "radiolive"},
      {"HD", "hd"}, {"高清", "高清"}, {"台", "台"}, {"[高清]", "高清"}, {"", ""},
      {"((((a", "a"}, {"a))))", "a"}, {"卫视(备", "卫视"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(names.key(c.name), c.key) << c.name;
    EXPECT_EQ(names.canonicalName(c.name), QString(c.name).trimmed()) << c.name;
  }
}

class AliasFileTest : public ::testing::Test {
 protected:
  ChannelNames load(const QByteArray& bytes) {
    return ChannelNames::load(writeFile(m_dir, "alias.txt", bytes));
  }
  QTemporaryDir m_dir;
};

TEST_F(AliasFileTest, BadLinesAreSkippedAndTheRestWorks) {
  const ChannelNames names = load(
      "# comment,中央一台\r\n"
      "\r\n"
      "   \r\n"
      "CCTV-1,中央一台,,  ,央视1套\r\n"
      ",无名\r\n"
      "re:^x,abc\r\n"
      "测试一,re:([bad,别名一\r\n"
      "测试二,re:^ceshi\\d+$,re:^測試\r\n"
      "重复,中央一台\r\n"
      "测试三，别名三\n");
  const QStringList problems = names.problems();
  ASSERT_EQ(problems.size(), 3) << problems.join('\n').toStdString();
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(problems[i].startsWith(QString("line %1:").arg(5 + i))) << problems[i].toStdString();
  const Spelling cases[] = {
      {"中央一台", "CCTV-1"},   {"央视1套 HD", "CCTV-1"}, {"别名一", "测试一"},
      {"CESHI12", "测试二"},    {"測試五", "测试二"},     {"别名三", "测试三"},
      {"无名", "无名"},         {"abc", "abc"},          {"comment", "comment"},
      {"重复", "重复"},
  };
  for (const Spelling& c : cases) EXPECT_EQ(names.canonicalName(c.name), c.channel) << c.name;
  EXPECT_EQ(names.key("中央一台"), "cctv1");
}

TEST_F(AliasFileTest, GbkFilesAndMissingFilesWork) {
  const ChannelNames gbk = load(QStringEncoder("GB18030")(QString("湖南卫视,芒果台\r\n")));
  EXPECT_EQ(gbk.canonicalName("芒果台 HD"), "湖南卫视");
  const ChannelNames none = ChannelNames::load(m_dir.filePath("missing.txt"));
  EXPECT_EQ(none.key("CCTV-1 HD"), "cctv1");
  EXPECT_EQ(none.canonicalName("中央一台"), "中央一台");
}

TEST(ChannelKeyTest, KeysAreTheSameFromManyThreads) {
  const ChannelNames& names = deliveredNames();
  QStringList expected;
  for (const Spelling& s : kSpellings) expected << names.key(s.name);
  QList<QStringList> found(4);
  std::vector<std::thread> threads;
  for (QStringList& keys : found) {
    threads.emplace_back([&names, &keys] {
      for (int round = 0; round < 20; ++round) {
        keys.clear();
        for (const Spelling& s : kSpellings) keys << names.key(s.name);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const QStringList& keys : found) EXPECT_EQ(keys, expected);
}

TEST(ChannelKeyTest, AHundredThousandNamesAreKeyedQuickly) {
  const ChannelNames& names = deliveredNames();
  const char* const decorations[] = {"", " HD", "[1080p]", " (备)", "-高清", " 电信", "(欧洲)"};
  QStringList list;
  for (int i = 0; list.size() < 100000; ++i) {
    const Spelling& s = kSpellings[i % std::size(kSpellings)];
    // Every name different, so that nothing can be reused.
    list << QString(s.name) + decorations[i % std::size(decorations)] + " 线路" +
                QString::number(i);
  }
  names.key(list.first());  // OpenCC's dictionaries load once.
  qsizetype total = 0;
  const qint64 ms = msToRun([&] {
    for (const QString& name : list) total += names.key(name).size();
  });
  EXPECT_GT(total, 0);
  EXPECT_BOUND_LT(ms, 400) << ms;
}

TEST(ChannelKeyTest, HostileNamesTakeLinearTime) {
  const ChannelNames& names = deliveredNames();
  const QString hostile[] = {
      QString("高清").repeated(500000),
      QString("鳳(").repeated(300000) + QString(")").repeated(300000),
      QString(" ").repeated(500000) + QString("HD").repeated(250000),
      QString("[").repeated(1000000),
      QString("备1").repeated(500000),
      QString(" 4k").repeated(300000),
  };
  for (const QString& name : hostile) {
    EXPECT_LT(msToRun([&] {
                names.canonicalName(name);
                playlists::pinyinOf(name);
              }),
              1000)
        << name.left(10).toStdString();
  }
}

TEST(PinyinTest, NamesReadInPinyin) {
  const struct {
    const char* name;
    const char* full;
    const char* initials;
  } cases[] = {
      {"湖南卫视", "hunanweishi", "hnws"},
      {"CCTV-1综合", "cctv1zonghe", "cctv1zh"},
      {"重庆卫视", "chongqingweishi", "cqws"},
      {"鳳凰衛視", "fenghuangweishi", "fhws"},
      {"翡翠台 HD", "feicuitaihd", "fcthd"},
      {"ＣＣＴＶ５＋", "cctv5", "cctv5"},
      {"绿色频道", "lusepindao", "lspd"},
      {"BBC World", "bbcworld", "bbcworld"},
      {"東森新聞·台", "dongsenxinwentai", "dsxwt"},
      // Words ICU reads by another of their characters' readings.
      {"厦门卫视", "xiamenweishi", "xmws"},
      {"长沙新闻", "changshaxinwen", "csxw"},
      {"成都都市", "chengdudushi", "cdds"},
      {"CCTV-15音乐", "cctv15yinyue", "cctv15yy"},
      {"西藏藏语卫视", "xizangzangyuweishi", "xzzyws"},
      {"佛山綜合", "foshanzonghe", "fszh"},
      {"", "", ""},
      {"+-·", "", ""},
  };
  for (const auto& c : cases) {
    const playlists::Pinyin pinyin = playlists::pinyinOf(c.name);
    EXPECT_EQ(pinyin.full, c.full) << c.name;
    EXPECT_EQ(pinyin.initials, c.initials) << c.name;
  }
  EXPECT_EQ(playlists::pinyinOf(QString("湖").repeated(1000)).full, QString("hu").repeated(64));
}

TEST(PinyinTest, AHundredThousandNamesGetTheirPinyinQuickly) {
  QStringList list;
  for (int i = 0; list.size() < 100000; ++i)
    list << QString(kSpellings[i % std::size(kSpellings)].name) + " " + QString::number(i);
  playlists::pinyinOf(list.first());  // ICU's transliterator is made once.
  qsizetype total = 0;
  const qint64 ms = msToRun([&] {
    for (const QString& name : list) total += playlists::pinyinOf(name).full.size();
  });
  EXPECT_GT(total, 0);
  EXPECT_BOUND_LT(ms, 300) << ms;
}

TEST(NameQueryTest, QueriesFindNamesByKeyPinyinAndInitials) {
  using playlists::QueryMatch;
  const ChannelNames& names = deliveredNames();
  const struct {
    const char* query;
    const char* name;
    QueryMatch match;
  } cases[] = {
      {"cctv5", "CCTV-5", QueryMatch::Start},
      {"cctv5", "CCTV-5+ 体育赛事", QueryMatch::Start},
      {"CCTV-5+", "CCTV5+", QueryMatch::Start},
      {"ＣＣＴＶ５", "CCTV-5 HD", QueryMatch::Start},
      {"hnws", "湖南卫视", QueryMatch::Start},
      {"HNWS", "湖南卫视 HD", QueryMatch::Start},
      {"hunan", "湖南卫视", QueryMatch::Start},
      {"weishi", "湖南卫视", QueryMatch::Inside},
      {"ws", "湖南衛視", QueryMatch::Inside},
      {"湖南", "湖南衛視", QueryMatch::Start},
      {"卫视", "湖南衛視", QueryMatch::Inside},
      {"cctv1", "中央一台", QueryMatch::Start},
      {"cqws", "重庆卫视", QueryMatch::Start},
      {"zhongwen", "凤凰卫视中文台", QueryMatch::Inside},
      {"", "湖南卫视", QueryMatch::Start},
      {"hnws", "湖北卫视", QueryMatch::None},
      {"xyz", "湖南卫视", QueryMatch::None},
      {"cctv6", "CCTV-5", QueryMatch::None},
  };
  for (const auto& c : cases) {
    const auto name = playlists::SearchableName::ofName(c.name, names.key(c.name));
    EXPECT_EQ(playlists::NameQuery(c.query).match(name), c.match)
        << c.query << " / " << c.name;
  }
}

}  // namespace
