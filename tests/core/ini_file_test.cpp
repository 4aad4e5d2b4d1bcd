#include "core/ini_file.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace prunko {
namespace {

using test::TempFolder;

TEST(IniFile, ReadsLikeThePrivateProfileFunctions) {
  TempFolder dir;
  const QString path = dir.File("a.ini");
  test::WriteAll(path,
                 "; a comment\r\n"
                 "[Send]\r\n"
                 "  Mode = 4  \r\n"
                 "quoted=\"  spaced  \"\r\n"
                 "single='x'\r\n"
                 "neg=-4\r\n"
                 "hex=0x1F\r\n"
                 "junk=12abc\r\n"
                 "empty=\r\n"
                 "noequals\r\n"
                 "[other]\n"
                 "mode=9\n"
                 "[ SEND ]\n"
                 "late=1\n");
  const IniFile ini(path);
  EXPECT_TRUE(ini.existed());
  EXPECT_EQ(ini.ReadString(u"send", u"MODE"), u"4");
  EXPECT_EQ(ini.ReadString(u"Send", u"quoted"), u"  spaced  ");
  EXPECT_EQ(ini.ReadString(u"Send", u"single"), u"x");
  EXPECT_EQ(ini.ReadString(u"Send", u"missing", u"dflt"_qs), u"dflt");
  EXPECT_EQ(ini.ReadString(u"Send", u"noequals", u"dflt"_qs), u"dflt");
  EXPECT_EQ(ini.ReadInt(u"Send", u"mode", 0), 4);
  EXPECT_EQ(ini.ReadInt(u"Send", u"neg", 0), -4);
  EXPECT_EQ(ini.ReadInt(u"Send", u"hex", 0), 31);
  EXPECT_EQ(ini.ReadInt(u"Send", u"junk", 0), 12);
  EXPECT_EQ(ini.ReadInt(u"Send", u"empty", 7), 7);
  EXPECT_EQ(ini.ReadInt(u"Send", u"missing", 7), 7);
  EXPECT_EQ(ini.ReadInt(u"Other", u"mode", 0), 9);
  EXPECT_EQ(ini.ReadInt(u"Send", u"late", 0), 0);  // only the first section counts
}

TEST(IniFile, ValuesKeepAtMost511Characters) {
  TempFolder dir;
  IniFile ini(dir.File("a.ini"));
  EXPECT_FALSE(ini.existed());
  ini.WriteString(u"S", u"k", QString(600, u'x'));
  ASSERT_TRUE(ini.Save());
  EXPECT_EQ(IniFile(dir.File("a.ini")).ReadString(u"S", u"k").size(), 511);
  EXPECT_EQ(IniFile(dir.File("a.ini")).ReadString(u"S", u"none", QString(600, u'y')).size(), 511);
}

TEST(IniFile, WritingKeepsEveryOtherLine) {
  TempFolder dir;
  const QString path = dir.File("a.ini");
  test::WriteAll(path,
                 "; keep me\r\n"
                 "[Pid]\r\n"
                 "count=1\r\n"
                 "chat_pid_0=a*b\r\n"
                 "\r\n"
                 "[Other]\r\n"
                 "x = 1\r\n");
  IniFile ini(path);
  ini.WriteString(u"pid", u"COUNT", u"2");
  ini.WriteString(u"Pid", u"chat_pid_1", u"c*d");
  ini.WriteString(u"New", u"k", u"line1\r\nline2");
  ASSERT_TRUE(ini.Save());
  EXPECT_EQ(test::ReadAll(path),
            "; keep me\r\n"
            "[Pid]\r\n"
            "COUNT=2\r\n"
            "chat_pid_0=a*b\r\n"
            "chat_pid_1=c*d\r\n"
            "\r\n"
            "[Other]\r\n"
            "x = 1\r\n"
            "[New]\r\n"
            "k=line1  line2\r\n");
}

TEST(IniFile, AnsiAndUtf16Files) {
  TempFolder dir;
  {
    test::ScopedAnsiCodePage gbk("GBK");
    ASSERT_TRUE(gbk.ok());
    test::WriteAll(dir.File("gbk.ini"), "[A]\r\nt=\xC4\xE3\r\n");
    IniFile ini(dir.File("gbk.ini"));
    EXPECT_EQ(ini.ReadString(u"A", u"t"), QString::fromUtf8("你"));
    ini.WriteString(u"A", u"u", QString::fromUtf8("好ก"));
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(test::ReadAll(dir.File("gbk.ini")), "[A]\r\nt=\xC4\xE3\r\nu=\xBA\xC3?\r\n");
  }
  const QString utf16 = dir.File("u.ini");
  test::WriteAll(utf16, QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char*>(u"[A]\r\nt=ก\r\n"), 20));
  IniFile ini(utf16);
  EXPECT_EQ(ini.ReadString(u"A", u"t"), QString::fromUtf8("ก"));
  ini.WriteString(u"A", u"t", u"x");
  ASSERT_TRUE(ini.Save());
  EXPECT_EQ(test::ReadAll(utf16), QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char*>(u"[A]\r\nt=x\r\n"), 20));
}

}  // namespace
}  // namespace prunko
