#include "InstanceConnectionString.h"

#include <gtest/gtest.h>

using namespace flagwright;

namespace {
std::string WithCatalog(const std::string& catalog)
{
    return "provider=SQLOLEDB;Persist security info=False;user id=DBOPS;pwd=58GrUw3Hyb!!"
           ";initial catalog=" +
           catalog + ";data source=(local)\\emberline2;connect timeout = 15";
}
} // namespace

TEST(MSDEConnectionString, PlainNameGoesInUnchanged)
{
    EXPECT_EQ(MSDEConnectionString("Emberline"), WithCatalog("Emberline"));
    EXPECT_EQ(MSDEConnectionString("Ember line"), WithCatalog("Ember line"));
    EXPECT_EQ(MSDEConnectionString("Zürich,Nord[1]{x}"), WithCatalog("Zürich,Nord[1]{x}"));
    EXPECT_EQ(MSDEConnectionString(""), WithCatalog(""));
}

TEST(MSDEConnectionString, NamesThatCouldChangeTheStringAreQuoted)
{
    EXPECT_EQ(MSDEConnectionString("a;data source=evil"), WithCatalog("\"a;data source=evil\""));
    EXPECT_EQ(MSDEConnectionString("a=b"), WithCatalog("\"a=b\""));
    EXPECT_EQ(MSDEConnectionString("   "), WithCatalog("\"   \""));
    EXPECT_EQ(MSDEConnectionString(" Emberline"), WithCatalog("\" Emberline\""));
    EXPECT_EQ(MSDEConnectionString("O'Brien"), WithCatalog("\"O'Brien\""));
    EXPECT_EQ(MSDEConnectionString("say \"hi\""), WithCatalog("'say \"hi\"'"));
    EXPECT_EQ(MSDEConnectionString("it's \"x\""), WithCatalog("\"it's \"\"x\"\"\""));
}

TEST(InstanceConnectionString, NamesNoCatalog)
{
    EXPECT_EQ(InstanceConnectionString(),
              "provider=SQLOLEDB;Persist security info=False;user id=DBOPS;pwd=58GrUw3Hyb!!"
              ";data source=(local)\\emberline2;connect timeout = 15");
}
