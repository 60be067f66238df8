#pragma once

// Fixtures that run a test with ',' as the decimal separator of the process,
// to show that numbers written and read by the kernel still use '.'.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <locale>
#include <sstream>
#include <string>

namespace zorva::testutil {

// Restores the global C++ locale and the C locale when it goes out of scope.
class LocaleRestorer {
public:
    LocaleRestorer() : cpp_(std::locale()), c_(std::setlocale(LC_ALL, nullptr)) {}
    ~LocaleRestorer() {
        std::locale::global(cpp_);
        std::setlocale(LC_ALL, c_.c_str());
    }
    LocaleRestorer(const LocaleRestorer&) = delete;
    LocaleRestorer& operator=(const LocaleRestorer&) = delete;

private:
    std::locale cpp_;
    std::string c_;
};

// The name of an installed C locale whose decimal separator is ',', or "".
inline std::string FindCommaLocale() {
    const LocaleRestorer restorer;
    for (const char* name :
         {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8", "nl_NL.utf8", "es_ES.UTF-8",
          "es_ES.utf8", "it_IT.UTF-8", "it_IT.utf8", "ru_RU.UTF-8", "ru_RU.utf8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr && std::string(std::localeconv()->decimal_point) == ",") {
            return name;
        }
    }
    return "";
}

inline std::string StreamText(double value) {
    std::ostringstream out;  // imbued with the global C++ locale
    out << value;
    return out.str();
}

inline std::string PrintfText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// The whole process, C library and C++ streams alike, in an installed locale
// with ',' as decimal separator (de_DE and the like). Skips if none is
// installed: `locale -a` lists them, `localedef -i de_DE -f UTF-8 de_DE.UTF-8`
// makes one.
class CommaProcessLocale : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string name = FindCommaLocale();
        if (name.empty()) GTEST_SKIP() << "no locale with ',' as decimal separator is installed";
        std::locale::global(std::locale(name.c_str()));
        std::setlocale(LC_ALL, name.c_str());
        ASSERT_EQ(PrintfText(22.5), "22,50") << "the C locale switch did not take";
        ASSERT_EQ(StreamText(22.5), "22,5") << "the C++ locale switch did not take";
    }

private:
    LocaleRestorer restorer_;
};

// Only the global C++ locale given ',' as decimal separator by a facet of its
// own; needs no installed locale, so it always runs.
class CommaCppLocale : public ::testing::Test {
protected:
    void SetUp() override {
        std::locale::global(std::locale(std::locale::classic(), new CommaNumpunct));
        ASSERT_EQ(StreamText(22.5), "22,5") << "the C++ locale switch did not take";
    }

private:
    struct CommaNumpunct : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };
    LocaleRestorer restorer_;
};

}  // namespace zorva::testutil
