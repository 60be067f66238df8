#include "server/server_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorva::server {
namespace {

ParsedOptions parse(std::vector<std::string> arguments) {
    return parseServerOptions(arguments);
}

TEST(ServerOptions, DefaultsMatchTheModelsExpectations) {
    const auto parsed = parse({});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->port, 52623);
    EXPECT_EQ(parsed.options->bind, "127.0.0.1");
    EXPECT_EQ(parsed.options->models, 2);
    EXPECT_FALSE(parsed.options->until);
    EXPECT_FALSE(parsed.options->verbose);
}

TEST(ServerOptions, ReadsEveryOptionInBothForms) {
    const auto parsed = parse(
        {"--port", "5000", "--bind=::1", "--models=3", "--until", "250.5", "--registration-timeout=30", "--verbose"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->port, 5000);
    EXPECT_EQ(parsed.options->bind, "::1");
    EXPECT_EQ(parsed.options->models, 3);
    EXPECT_EQ(parsed.options->until, 250.5);
    EXPECT_EQ(parsed.options->registrationTimeoutSeconds, 30);
    EXPECT_TRUE(parsed.options->verbose);
    EXPECT_TRUE(parse({"--help"}).options->help);
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
        const auto parsed = parse(arguments);
        EXPECT_FALSE(parsed.options) << arguments.front();
        EXPECT_FALSE(parsed.error.empty());
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
    }
}

}  // namespace
}  // namespace zorva::server
