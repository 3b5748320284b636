#include <gtest/gtest.h>

#include "platform/qt/qt_text.h"

namespace zt {
namespace {

TEST(QtText, ProgramTextsCrossToQtAndBack)
{
    std::string cp1252 = "Caf\xE9 \x80 5";  // e acute and the euro sign
    QString q = ToQString(cp1252);
    EXPECT_EQ(q, QString::fromUtf8("Café € 5"));
    std::string back;
    ASSERT_TRUE(FromQString(q, back));
    EXPECT_EQ(back, cp1252);
}

TEST(QtText, CharacterOutsideTheCodePageIsRefused)
{
    std::string out;
    EXPECT_FALSE(FromQString(QString::fromUtf8("\xE2\x82\xAA"), out));  // the sheqel sign
}

}  // namespace
}  // namespace zt
