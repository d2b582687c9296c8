// Only one copy runs; the second is told so in German.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "gui_test_support.h"
#include "shell/single_instance.h"

namespace quorvex {
namespace {

TEST(SingleInstance, SecondCopyIsRefusedUntilTheFirstEnds) {
    QTemporaryDir directory;
    const QString lock = directory.filePath(QStringLiteral("Quorvex.lock"));
    auto first = std::make_unique<SingleInstanceGuard>(lock);
    EXPECT_TRUE(first->Acquired());
    {
        SingleInstanceGuard second(lock);
        EXPECT_FALSE(second.Acquired());
    }
    first.reset();
    SingleInstanceGuard third(lock);
    EXPECT_TRUE(third.Acquired());
}

TEST(SingleInstance, MessageIsTheGermanBuiltInText) {
    RecordedMessages messages;
    ReportSecondInstance(messages);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Programm EN10002 wird bereits ausgeführt."));
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
}

}  // namespace
}  // namespace quorvex
