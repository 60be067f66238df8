#include "server/server_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorva::server {
namespace {

ParsedOptions Parse(std::vector<std::string> arguments) {
    return ParseServerOptions(arguments);
}

TEST(ServerOptions, DefaultsMatchTheModelsExpectations) {
    const auto parsed = Parse({});
    ASSERT_TRUE(parsed.Options);
    EXPECT_EQ(parsed.Options->Port, 52623);
    EXPECT_EQ(parsed.Options->Bind, "127.0.0.1");
    EXPECT_EQ(parsed.Options->Models, 2);
    EXPECT_FALSE(parsed.Options->Until);
    EXPECT_FALSE(parsed.Options->Verbose);
}

TEST(ServerOptions, ReadsEveryOptionInBothForms) {
    const auto parsed = Parse(
        {"--port", "5000", "--bind=::1", "--models=3", "--until", "250.5", "--registration-timeout=30", "--verbose"});
    ASSERT_TRUE(parsed.Options) << parsed.Error;
    EXPECT_EQ(parsed.Options->Port, 5000);
    EXPECT_EQ(parsed.Options->Bind, "::1");
    EXPECT_EQ(parsed.Options->Models, 3);
    EXPECT_EQ(parsed.Options->Until, 250.5);
    EXPECT_EQ(parsed.Options->RegistrationTimeoutSeconds, 30);
    EXPECT_TRUE(parsed.Options->Verbose);
    EXPECT_TRUE(Parse({"--help"}).Options->Help);
    EXPECT_TRUE(Parse({"--version"}).Options->Version);
}

TEST(ServerOptions, RejectsBadValuesWithOneLine) {
    for (const auto& arguments : std::vector<std::vector<std::string>>{{"--port", "0"},
                                                                       {"--port", "65536"},
                                                                       {"--port", "12ab"},
                                                                       {"--port"},
                                                                       {"--models", "0"},
                                                                       {"--models", "-1"},
                                                                       {"--until", "-1"},
                                                                       {"--until", "soon"},
                                                                       {"--until", "1e308"},
                                                                       {"--registration-timeout", "0"},
                                                                       {"--bind="},
                                                                       {"--colour"},
                                                                       {"extra"}}) {
        const auto parsed = Parse(arguments);
        EXPECT_FALSE(parsed.Options) << arguments.front();
        EXPECT_FALSE(parsed.Error.empty());
        EXPECT_EQ(parsed.Error.find('\n'), std::string::npos);
    }
}

}  // namespace
}  // namespace zorva::server
