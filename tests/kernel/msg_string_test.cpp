#include "kernel/msg_string.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "comma_locale.h"

namespace zorva {
namespace {

// One numeric getter seen through a common result type.
using Getter = std::function<double(TMsgString&)>;

struct Read {
    const char* Field;
    double Expected;  // the result; 0 on failure
    bool Error;
};

void ExpectReads(const Getter& get, const std::vector<Read>& reads) {
    for (const Read& read : reads) {
        SCOPED_TRACE(testing::Message() << "field \"" << read.Field << '"');
        TMsgString message(std::string(read.Field) + "!!rest");
        EXPECT_EQ(get(message), read.Expected);
        EXPECT_EQ(message.ReadError(), read.Error);
        EXPECT_EQ(message.Rest(), "rest");
    }
}

const std::vector<Getter> kNumericGetters = {
    [](TMsgString& m) { return m.GetInteger(); },  [](TMsgString& m) { return m.GetLongInt(); },
    [](TMsgString& m) { return m.GetSmallInt(); }, [](TMsgString& m) { return m.GetByte(); },
    [](TMsgString& m) { return m.GetWord(); },     [](TMsgString& m) { return m.GetCardinal(); },
    [](TMsgString& m) { return m.GetDouble(); },   [](TMsgString& m) { return m.GetReal(); },
    [](TMsgString& m) { return m.GetSingle(); },
};

TEST(MsgString, ReadsAShipHandOver) {
    TMsgString message("ShipL2!!22.50!!120.00");
    EXPECT_EQ(message.GetString(), "ShipL2");
    EXPECT_EQ(message.GetDouble(), 22.5);
    EXPECT_FALSE(message.ReadError());
    EXPECT_EQ(message.GetDouble(), 120.0);
    EXPECT_FALSE(message.ReadError());
    EXPECT_EQ(message.CurrentField(), "120.00");
    EXPECT_EQ(message.Rest(), "");
}

TEST(MsgString, StartsTrimmedAndUnread) {
    TMsgString message(" \t ShipL!!22.50 \r\n");
    EXPECT_EQ(message.Rest(), "ShipL!!22.50");
    EXPECT_EQ(message.CurrentField(), "");
    EXPECT_FALSE(message.ReadError());
}

TEST(MsgString, TrimsBlanksAndControlsButNotText) {
    TMsgString message("\x01 Schiff \xC3\x84\x7F!!\t12 ");
    EXPECT_EQ(message.GetString(), "Schiff \xC3\x84");
    EXPECT_EQ(message.GetInteger(), 12);
    EXPECT_FALSE(message.ReadError());
}

TEST(MsgString, KeepsTheRestUntrimmed) {
    TMsgString message("a!! 12 !!x");
    EXPECT_EQ(message.GetString(), "a");
    EXPECT_EQ(message.Rest(), " 12 !!x");
    EXPECT_EQ(message.GetInteger(), 12);
    EXPECT_EQ(message.CurrentField(), "12");
    EXPECT_EQ(message.Rest(), "x");
}

TEST(MsgString, SplitsAtTheFirstSeparator) {
    TMsgString message("a!!!b");
    EXPECT_EQ(message.GetString(), "a");
    EXPECT_EQ(message.GetString(), "!b");
}

TEST(MsgString, PayloadWithoutSeparatorIsOneField) {
    TMsgString message("hello world");
    EXPECT_EQ(message.GetString(), "hello world");
    EXPECT_EQ(message.Rest(), "");
    EXPECT_EQ(message.GetString(), "");
    EXPECT_FALSE(message.ReadError());
}

TEST(MsgString, TwoSeparatorsInARowGiveAnEmptyField) {
    TMsgString message("1!!!!2");
    EXPECT_EQ(message.GetInteger(), 1);
    EXPECT_FALSE(message.ReadError());
    EXPECT_EQ(message.GetInteger(), 0);
    EXPECT_TRUE(message.ReadError());
    EXPECT_EQ(message.CurrentField(), "");
    EXPECT_EQ(message.GetInteger(), 2);
    EXPECT_FALSE(message.ReadError());
}

TEST(MsgString, ReadingPastTheEndGivesEmptyFields) {
    TMsgString message("only");
    message.GetString();
    EXPECT_EQ(message.GetString(), "");
    EXPECT_FALSE(message.GetBoolean());
    EXPECT_FALSE(message.ReadError());
    for (std::size_t i = 0; i < kNumericGetters.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "numeric getter " << i);
        EXPECT_EQ(kNumericGetters[i](message), 0.0);
        EXPECT_TRUE(message.ReadError());
    }
}

TEST(MsgString, EveryReadClearsAnEarlierError) {
    TMsgString message("x!!x!!7!!x!!s!!x!!y");
    message.GetInteger();
    ASSERT_TRUE(message.ReadError());
    message.GetInteger();
    ASSERT_TRUE(message.ReadError());
    EXPECT_EQ(message.GetByte(), 7);
    EXPECT_FALSE(message.ReadError());
    message.GetDouble();
    ASSERT_TRUE(message.ReadError());
    EXPECT_EQ(message.GetString(), "s");
    EXPECT_FALSE(message.ReadError());
    message.GetSingle();
    ASSERT_TRUE(message.ReadError());
    EXPECT_TRUE(message.GetBoolean());
    EXPECT_FALSE(message.ReadError());
}

TEST(MsgString, GetBooleanLooksAtTheFirstCharacter) {
    TMsgString message("Yes!!yes!!Y!!True!!t!!1!!No!!0!!false!!F!!x!! !!!!-1");
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(message.GetBoolean()) << message.CurrentField();
        EXPECT_FALSE(message.ReadError());
    }
    for (int i = 0; i < 8; ++i) {
        EXPECT_FALSE(message.GetBoolean()) << message.CurrentField();
        EXPECT_FALSE(message.ReadError());
    }
    EXPECT_EQ(message.Rest(), "");
}

TEST(MsgString, GetIntegerAndGetLongInt) {
    const std::vector<Read> reads = {
        {"12", 12, false},
        {" 12 ", 12, false},
        {"-12", -12, false},
        {"+12", 12, false},
        {"2147483647", 2147483647, false},
        {"-2147483648", -2147483648.0, false},
        {"2147483648", 0, true},
        {"-2147483649", 0, true},
        {"", 0, true},
        {"abc", 0, true},
        {"1.5", 0, true},
        {"12abc", 0, true},
        {"1 2", 0, true},
        {"99999999999999999999", 0, true},
    };
    ExpectReads([](TMsgString& m) { return m.GetInteger(); }, reads);
    ExpectReads([](TMsgString& m) { return m.GetLongInt(); }, reads);
}

TEST(MsgString, GetSmallInt) {
    ExpectReads([](TMsgString& m) { return m.GetSmallInt(); }, {{"-32768", -32768, false},
                                                                {"32767", 32767, false},
                                                                {"0", 0, false},
                                                                {"-32769", 0, true},
                                                                {"32768", 0, true},
                                                                {"x", 0, true},
                                                                {"", 0, true}});
}

TEST(MsgString, GetByte) {
    ExpectReads(
        [](TMsgString& m) { return m.GetByte(); },
        {{"0", 0, false}, {"255", 255, false}, {"256", 0, true}, {"-1", 0, true}, {"x", 0, true}, {"", 0, true}});
}

TEST(MsgString, GetWord) {
    ExpectReads(
        [](TMsgString& m) { return m.GetWord(); },
        {{"0", 0, false}, {"65535", 65535, false}, {"65536", 0, true}, {"-1", 0, true}, {"x", 0, true}, {"", 0, true}});
}

TEST(MsgString, GetCardinalGoesThroughA32BitSignedInteger) {
    ExpectReads([](TMsgString& m) { return m.GetCardinal(); }, {{"0", 0, false},
                                                                {"2147483647", 2147483647, false},
                                                                {"2147483648", 0, true},
                                                                {"4294967295", 0, true},
                                                                {"-1", 0, true},
                                                                {"x", 0, true},
                                                                {"", 0, true}});
}

TEST(MsgString, GetDouble) {
    ExpectReads([](TMsgString& m) { return m.GetDouble(); }, {{"22.50", 22.5, false},
                                                              {" 120.00 ", 120.0, false},
                                                              {"-1.5", -1.5, false},
                                                              {"7", 7.0, false},
                                                              {"2E38", 2e38, false},
                                                              {"1e-5", 1e-5, false},
                                                              {"1,5", 0, true},
                                                              {"", 0, true},
                                                              {"abc", 0, true},
                                                              {"12abc", 0, true},
                                                              {"1e400", 0, true},
                                                              {"inf", 0, true},
                                                              {"nan", 0, true},
                                                              {"0x10", 0, true}});
}

TEST(MsgString, GetRealKeepsToPlusMinus1Point7E38) {
    ExpectReads([](TMsgString& m) { return m.GetReal(); }, {{"22.50", 22.5, false},
                                                            {"1.7E38", 1.7e38, false},
                                                            {"-1.7E38", -1.7e38, false},
                                                            {"2E38", 0, true},
                                                            {"-2E38", 0, true},
                                                            {"1.7000001E38", 0, true},
                                                            {"x", 0, true},
                                                            {"", 0, true}});
}

TEST(MsgString, GetSingleFailsOnlyWhereAFloatOverflows) {
    const double max = std::numeric_limits<float>::max();
    ExpectReads([](TMsgString& m) { return m.GetSingle(); },
                {{"22.5", 22.5, false},
                 {"0.1", static_cast<double>(0.1F), false},
                 {"3.4028235E38", max, false},  // FLT_MAX as usually printed, rounds down to it
                 {"-3.4028235E38", -max, false},
                 {"3.40282357E38", 0, true},  // past FLT_MAX + half an ulp
                 {"1E39", 0, true},
                 {"1e-50", 0, false},  // underflows to zero, which is storable
                 {"x", 0, true},
                 {"", 0, true}});
}

TEST(MsgString, MalformedFieldsNeverCrashAndFailToZero) {
    const std::string alphabet = "0123456789 .,+-eExX!\t\r\n$aTYinf";
    std::mt19937 random(20230401);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    for (int round = 0; round < 2000; ++round) {
        std::string payload;
        for (int n = length(random); n > 0; --n) payload += alphabet[pick(random)];
        SCOPED_TRACE(payload);
        TMsgString message(payload);
        for (const Getter& get : kNumericGetters) {
            const double value = get(message);
            if (message.ReadError()) {
                ASSERT_EQ(value, 0.0) << message.CurrentField();
            }
            ASSERT_EQ(message.CurrentField().find("!!"), std::string::npos);
        }
        message.GetString();
        message.GetBoolean();
    }
}

using MsgStringUnderCommaProcessLocale = testutil::CommaProcessLocale;
using MsgStringUnderCommaCppLocale = testutil::CommaCppLocale;

TEST_F(MsgStringUnderCommaProcessLocale, ReadsThePointOnly) {
    TMsgString message("ShipL2!!22.50!!22,50!!3.5!!1.5");
    EXPECT_EQ(message.GetString(), "ShipL2");
    EXPECT_EQ(message.GetDouble(), 22.5);
    EXPECT_FALSE(message.ReadError());
    EXPECT_EQ(message.GetDouble(), 0.0);
    EXPECT_TRUE(message.ReadError());
    EXPECT_EQ(message.GetSingle(), 3.5F);
    EXPECT_EQ(message.GetReal(), 1.5);
    EXPECT_FALSE(message.ReadError());
}

TEST_F(MsgStringUnderCommaCppLocale, ReadsThePointOnly) {
    TMsgString message("22.50!!22,50");
    EXPECT_EQ(message.GetDouble(), 22.5);
    EXPECT_FALSE(message.ReadError());
    EXPECT_EQ(message.GetDouble(), 0.0);
    EXPECT_TRUE(message.ReadError());
}

}  // namespace
}  // namespace zorva
