// No test may reach a browser or the help window: anything that escapes a
// recorder (RecordingOpener.h) fails. Tests start with no web address
// configured, whatever the build was configured with.

#include "controls/Web.h"

#include <QString>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

class StrictSeams : public ::testing::Environment {
public:
    void SetUp() override {
        norvale::UrlOpenerSeam() = [](const QUrl& url) {
            std::fprintf(stderr, "unexpected open of %s\n", qPrintable(url.toString()));
            std::abort();
        };
        norvale::HelpOpenerSeam() = [](const QString& section) {
            std::fprintf(stderr, "unexpected help section \"%s\"\n", qPrintable(section));
            std::abort();
        };
        norvale::WebBaseSeam() = [] { return QString(); };
    }
};

[[maybe_unused]] ::testing::Environment* const kStrictSeams =
    ::testing::AddGlobalTestEnvironment(new StrictSeams);

} // namespace
