#include "server_options.h"

#include "wire/protocol.h"

#include <charconv>
#include <string_view>
#include <system_error>

namespace zorva::server {

namespace {

constexpr int kMaxModels = 1000;

std::optional<long> ParseWhole(std::string_view text) {
    long value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end) return std::nullopt;
    return value;
}

std::string ApplyOption(ServerOptions& options, const std::string& name, const std::string& value) {
    if (name == "--port") {
        const auto port = ParseWhole(value);
        if (!port || *port < 1 || *port > 65535) return "--port needs a number from 1 to 65535, not '" + value + "'";
        options.Port = static_cast<std::uint16_t>(*port);
    } else if (name == "--bind") {
        if (value.empty()) return "--bind needs an address";
        options.Bind = value;
    } else if (name == "--models") {
        const auto models = ParseWhole(value);
        if (!models || *models < 1 || *models > kMaxModels)
            return "--models needs a number from 1 to " + std::to_string(kMaxModels) + ", not '" + value + "'";
        options.Models = static_cast<int>(*models);
    } else if (name == "--registration-timeout") {
        const auto seconds = ParseWhole(value);
        if (!seconds || *seconds < 1 || *seconds > 3600)
            return "--registration-timeout needs a number of seconds from 1 to 3600, not '" + value + "'";
        options.RegistrationTimeoutSeconds = static_cast<int>(*seconds);
    } else if (name == "--until") {
        const auto until = ParseTime(value);
        if (!until || *until < 0 || IsNeverTime(*until) || value.find(',') != std::string::npos)
            return "--until needs a time of 0 or more such as 100.00, not '" + value + "'";
        options.Until = until;
    }
    return {};
}

}  // namespace

ParsedOptions ParseServerOptions(const std::vector<std::string>& arguments) {
    ServerOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        if (name == "--help" || name == "-h") {
            options.Help = true;
            continue;
        }
        if (name == "--version") {
            options.Version = true;
            continue;
        }
        if (name == "--verbose") {
            options.Verbose = true;
            continue;
        }
        std::optional<std::string> value;
        if (const auto equals = name.find('='); name.starts_with("--") && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name != "--port" && name != "--bind" && name != "--models" && name != "--until" &&
            name != "--registration-timeout")
            return {std::nullopt, "unknown option '" + arguments[i] + "' (see --help)"};
        if (!value) {
            if (i + 1 >= arguments.size()) return {std::nullopt, name + " needs a value"};
            value = arguments[++i];
        }
        if (auto error = ApplyOption(options, name, *value); !error.empty()) return {std::nullopt, error};
    }
    return {options, {}};
}

std::string ServerUsage() {
    return "usage: zorva-server [options]\n"
           "Message and time server for Zorva models.\n"
           "\n"
           "  --port N        TCP port to listen on (default " +
           std::to_string(kDefaultPort) +
           ")\n"
           "  --bind ADDRESS  address to listen on (default 127.0.0.1)\n"
           "  --models N      grant no time until N models have registered (default 2)\n"
           "  --until T       end the run at time T and exit once every model has left;\n"
           "                  the exit code is 1 if a model left before the end\n"
           "  --registration-timeout S\n"
           "                  close a connection that has not registered within S\n"
           "                  seconds (default 10)\n"
           "  --verbose       print every line received and sent\n"
           "  --version       print the server's version\n"
           "  --help          print this text\n";
}

}  // namespace zorva::server
