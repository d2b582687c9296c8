// The single-instance lock: an exclusive advisory lock on a file outside the working directory.
#include "shell/single_instance.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {

QString DefaultInstanceLockPath() {
    QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (directory.isEmpty()) directory = QDir::tempPath();
    return QDir(directory).filePath(QStringLiteral("Quorvex.lock"));
}

SingleInstanceGuard::SingleInstanceGuard(const QString& lockPath) {
    const QByteArray path = QFile::encodeName(lockPath);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        heldByOther_ = errno == EWOULDBLOCK;
        ::close(fd);
        return;
    }
    fd_ = fd;
}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (fd_ >= 0) ::close(fd_);  // closing drops the lock
}

void ReportSecondInstance(OperatorMessages& messages) {
    messages.ShowOperatorMessage(LoadText(text::kSingleInstance, 0), MessageKind::Error,
                                 MessageButtons::Ok);
}

}  // namespace quorvex
