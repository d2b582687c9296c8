// The export tables and the alias table of the stored tests through Qt SQL.
#include "store/export_database.h"

#include <QLockFile>
#include <QSqlError>
#include <QSqlQuery>
#include <set>

#include "evaluation/files.h"
#include "store/alias_outbox.h"
#include "store/sql_connection.h"
#include "store/sql_tables.h"

namespace quorvex {
namespace {

std::string SpecimenOf(const ExportRow& row) {
    for (const ExportField& field : row.Fields) {
        if (field.Name == "SpecimenNo" || field.Name == "ProbenNr") return field.Text;
    }
    return "-";
}

// The row and its id in one transaction, unless the id is there already: then the row reached
// the database before (a crash came between the commit and the rewrite of the outbox).
std::string SendEntry(QSqlDatabase& db, const OutboxEntry& entry) {
    if (!db.transaction()) return db.lastError().text().toStdString();
    std::string problem;
    {
        QSqlQuery sent(db);
        const bool prepared =
            sent.prepare(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE \"Id\" = ?")
                             .arg(QuoteIdentifier(kOutboxLedgerTable)));
        if (prepared) sent.addBindValue(QString::fromStdString(entry.Id));
        if (!prepared || !sent.exec() || !sent.next()) {
            problem = "table \"" + std::string(kOutboxLedgerTable) +
                      "\": " + sent.lastError().text().toStdString();
        } else if (sent.value(0).toLongLong() == 0) {
            problem = InsertRow(db, entry.Row);
            if (problem.empty()) {
                QSqlQuery mark(db);
                const bool markPrepared =
                    mark.prepare(QStringLiteral("INSERT INTO %1 (\"Id\") VALUES (?)")
                                     .arg(QuoteIdentifier(kOutboxLedgerTable)));
                if (markPrepared) mark.addBindValue(QString::fromStdString(entry.Id));
                if (!markPrepared || !mark.exec()) {
                    problem = "table \"" + std::string(kOutboxLedgerTable) +
                              "\": " + mark.lastError().text().toStdString();
                }
            }
        }
    }
    if (!problem.empty()) {
        db.rollback();
        return problem;
    }
    if (!db.commit()) return db.lastError().text().toStdString();
    return {};
}

bool StillConnected(QSqlDatabase& db) {
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT 1"));
}

}  // namespace

struct ExportDatabases::Impl {
    std::filesystem::path DatabaseDirectory;
    std::filesystem::path WorkingDirectory;
    AliasSettings Alias;
    SqlConnection Export{QStringLiteral("QSQLITE")};
    std::unique_ptr<SqlConnection> AliasConnection;
    std::vector<std::string> Messages;
    std::set<std::string> Reported;  // each problem is told once

    std::filesystem::path OutboxFile() const { return WorkingDirectory / kAliasOutboxFile; }

    void Tell(const std::string& message) {
        if (Reported.insert(message).second) Messages.push_back(message);
    }
    void Tell(const std::vector<std::string>& messages) {
        for (const std::string& message : messages) Tell(message);
    }

    bool OpenAlias(QSqlDatabase& db) {
        db = AliasConnection->Database();
        const AliasOpenResult opened = OpenAliasDatabase(db, Alias, WorkingDirectory, false);
        if (!opened.Open) Tell(opened.Problem);
        return opened.Open;
    }

    // Sends the readable rows of the outbox in order; a row the database refuses stays, and
    // a lost connection leaves the rest for later. Returns how many lines stay.
    int SendOutbox(OutboxContent& content) {
        const int total = static_cast<int>(content.Lines.size());
        bool anyRow = false;
        for (const OutboxLine& line : content.Lines) anyRow = anyRow || line.Entry.has_value();
        if (!anyRow) return total;
        std::vector<OutboxLine> kept;
        {
            QSqlDatabase db;
            if (!OpenAlias(db)) return total;
            bool connected = true;
            for (OutboxLine& line : content.Lines) {
                if (!line.Entry || !connected) {
                    kept.push_back(std::move(line));
                    continue;
                }
                const std::string problem = SendEntry(db, *line.Entry);
                if (problem.empty()) continue;
                connected = StillConnected(db);
                if (connected) {
                    Tell("the alias row of specimen \"" + SpecimenOf(line.Entry->Row) +
                         "\" was refused (" + problem + "); it stays in \"" +
                         OutboxFile().string() + "\"");
                }
                kept.push_back(std::move(line));
            }
            db.close();
        }
        if (kept.size() != content.Lines.size() && !WriteOutbox(OutboxFile(), kept)) {
            // The rows sent are in the ledger, so a second sending does not repeat them.
            Tell("\"" + OutboxFile().string() + "\" could not be rewritten");
        }
        return static_cast<int>(kept.size());
    }
};

ExportDatabases::ExportDatabases(std::filesystem::path databaseDirectory,
                                 std::filesystem::path workingDirectory, AliasSettings alias)
    : impl_(std::make_unique<Impl>()) {
    impl_->DatabaseDirectory = std::move(databaseDirectory);
    impl_->WorkingDirectory = std::move(workingDirectory);
    impl_->Alias = std::move(alias);
    if (impl_->Alias.Configured) {
        impl_->AliasConnection = std::make_unique<SqlConnection>(AliasQtDriver(impl_->Alias));
    }
}

ExportDatabases::~ExportDatabases() = default;

const AliasSettings& ExportDatabases::Alias() const {
    return impl_->Alias;
}

bool ExportDatabases::ProbeAlias() {
    if (!impl_->Alias.Configured) return false;
    QSqlDatabase db;
    if (!impl_->OpenAlias(db)) return false;
    bool available = true;
    for (const char* table : {kAliasTable, kOutboxLedgerTable}) {
        if (!TableExists(db, table)) {
            available = false;
            impl_->Tell("the alias database " +
                        DescribeAliasDatabase(impl_->Alias, impl_->WorkingDirectory) +
                        " has no table \"" + table + "\" (quorvex-cli db init --alias creates it)");
        }
    }
    db.close();
    return available;
}

void ExportDatabases::WriteExportRow(const ExportRow& row) {
    const std::filesystem::path file =
        ResolveInDirectory(impl_->DatabaseDirectory, kExportDatabaseFile);
    QSqlDatabase db = impl_->Export.Database();
    // The tables are set up by the lab, never by a store: without them the row is skipped.
    if (!OpenSqliteFile(db, file, false)) return;
    if (TableExists(db, row.Table)) {
        const std::string problem = InsertRow(db, row);
        if (!problem.empty()) {
            impl_->Tell("the export row of specimen \"" + SpecimenOf(row) +
                        "\" was not written into \"" + file.string() + "\": " + problem);
        }
    }
    db.close();
}

void ExportDatabases::WriteAliasRow(const ExportRow& row) {
    if (!impl_->Alias.Configured) return;
    const std::filesystem::path outbox = impl_->OutboxFile();
    const OutboxEntry entry{NewOutboxId(), row};
    QLockFile lock(QString::fromStdU16String(outbox.u16string()) + QStringLiteral(".lock"));
    if (lock.tryLock(10000)) {
        // The row goes into the outbox before it is sent: neither an absent database nor a
        // crash while sending loses it.
        OutboxContent content = ReadOutbox(outbox);
        impl_->Tell(content.Messages);
        if (content.Readable) {
            content.Lines.push_back({FormatOutboxLine(entry), entry});
            if (WriteOutbox(outbox, content.Lines)) {
                impl_->SendOutbox(content);
                return;
            }
        }
    }
    // The outbox cannot take the row: it is sent at once, and only lost if that fails too.
    QSqlDatabase db;
    std::string problem = "the alias database is not open";
    if (impl_->OpenAlias(db)) {
        problem = SendEntry(db, entry);
        db.close();
    }
    if (!problem.empty()) {
        impl_->Tell("the alias row of specimen \"" + SpecimenOf(row) +
                    "\" could neither be written (" + problem + ") nor kept in \"" +
                    outbox.string() + "\"");
    }
}

int ExportDatabases::SendPendingAliasRows() {
    const std::filesystem::path outbox = impl_->OutboxFile();
    if (!impl_->Alias.Configured) return PendingAliasRows();
    QLockFile lock(QString::fromStdU16String(outbox.u16string()) + QStringLiteral(".lock"));
    if (!lock.tryLock(10000)) return PendingAliasRows();
    OutboxContent content = ReadOutbox(outbox);
    impl_->Tell(content.Messages);
    if (!content.Readable) return PendingAliasRows();
    return impl_->SendOutbox(content);
}

int ExportDatabases::PendingAliasRows() const {
    return CountOutboxLines(impl_->OutboxFile());
}

std::vector<std::string> ExportDatabases::TakeMessages() {
    std::vector<std::string> messages;
    messages.swap(impl_->Messages);
    return messages;
}

}  // namespace quorvex
