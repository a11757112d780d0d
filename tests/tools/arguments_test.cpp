#include "augurlex-dict/arguments.h"

#include <gtest/gtest.h>

namespace dict {
namespace {

const std::set<std::string> kOptions = {"password", "table", "format"};

TEST(Arguments, OptionsTakeTheNextWordOrAnEqualsValue) {
    Arguments args = Arguments::parse(
        {"f.mdb", "--table", "data", "--password=a=b", "--format", "--x"}, kOptions);
    EXPECT_EQ(args.positionals(), std::vector<std::string>{"f.mdb"});
    EXPECT_EQ(args.option("table"), "data");
    EXPECT_EQ(args.option("password"), "a=b");
    EXPECT_EQ(args.option("format"), "--x"); // a value may itself start with dashes
    EXPECT_FALSE(args.option("missing"));
}

TEST(Arguments, EmptyValueIsKeptApartFromAbsent) {
    Arguments args = Arguments::parse({"--password", ""}, kOptions);
    ASSERT_TRUE(args.option("password"));
    EXPECT_EQ(*args.option("password"), "");
}

TEST(Arguments, DoubleDashEndsOptions) {
    Arguments args = Arguments::parse({"--", "--table", "-"}, kOptions);
    EXPECT_EQ(args.positionals(), (std::vector<std::string>{"--table", "-"}));
    EXPECT_FALSE(args.has("table"));
}

TEST(Arguments, MistakesAreUsageErrors) {
    EXPECT_THROW(Arguments::parse({"--colour", "red"}, kOptions), UsageError);
    EXPECT_THROW(Arguments::parse({"f", "--table"}, kOptions), UsageError);
    EXPECT_THROW(Arguments::parse({"--table", "a", "--table", "b"}, kOptions), UsageError);
}

} // namespace
} // namespace dict
