// The main window's title: product word, test type and the open results project.
#pragma once

#include <QString>

namespace quorvex {

class StoredTexts;

// "QuorveX / <test type> [<project>]", or "QuorveX / <test type> [ ]" without a project.
QString MainWindowTitle(const QString& prefix, const QString& testTypeName, bool projectOpen,
                        const QString& projectName);

// The same with the prefix and the test-type name of the current language.
QString MainWindowTitle(const StoredTexts& texts, int testType, bool projectOpen,
                        const QString& projectName);

}  // namespace quorvex
