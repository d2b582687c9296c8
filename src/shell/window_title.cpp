// The main window's title rule.
#include "shell/window_title.h"

#include "evaluation/test_types.h"
#include "ui/stored_texts.h"

namespace quorvex {

QString MainWindowTitle(const QString& prefix, const QString& testTypeName, bool projectOpen,
                        const QString& projectName) {
    QString title = prefix + QStringLiteral(" / ") + testTypeName + QStringLiteral(" [");
    title += projectOpen ? projectName + QStringLiteral("]") : QStringLiteral(" ]");
    return title;
}

QString MainWindowTitle(const StoredTexts& texts, int testType, bool projectOpen,
                        const QString& projectName) {
    return MainWindowTitle(texts.TitlePrefix(), texts.Text(TestTypeTextNumber(testType)),
                           projectOpen, projectName);
}

}  // namespace quorvex
