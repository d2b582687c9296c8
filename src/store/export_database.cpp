// The export tables and the alias table of the stored tests through Qt SQL.
#include "store/export_database.h"

#include <QLockFile>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "evaluation/files.h"
#include "evaluation/store_lock.h"
#include "store/alias_outbox.h"
#include "store/export_outbox.h"
#include "store/network_file_system.h"
#include "store/results_table.h"
#include "store/sql_connection.h"
#include "store/sql_tables.h"

namespace quorvex {
namespace {

// What went wrong with the connection, never empty: a failure must never read as success
// (a lost connection leaves Qt's error empty).
std::string Failure(const QSqlDatabase& db, const char* what) {
    const std::string text = db.lastError().text().toStdString();
    return std::string(what) + ": " +
           (text.empty() ? "the connection to the database was lost" : text);
}

std::string SpecimenOf(const ExportRow& row) {
    for (const ExportField& field : row.Fields) {
        if (field.Name == "SpecimenNo" || field.Name == "ProbenNr") return field.Text;
    }
    return "-";
}

// The row and its id in one transaction, unless the id is there already: then the row reached
// the database before (a crash came between the commit and the rewrite of the outbox).
std::string SendEntry(QSqlDatabase& db, const OutboxEntry& entry) {
    if (!db.transaction()) return Failure(db, "begin");
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
    if (!db.commit()) return Failure(db, "commit");
    return {};
}

bool StillConnected(QSqlDatabase& db) {
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT 1"));
}

}  // namespace

struct ExportDatabases::Impl {
    DatabaseSetup Setup;
    std::filesystem::path& DatabaseDirectory = Setup.DatabaseDirectory;
    std::filesystem::path& WorkingDirectory = Setup.WorkingDirectory;
    AliasSettings& Alias = Setup.Alias;
    std::unique_ptr<SqlConnection> Export;
    std::unique_ptr<SqlConnection> AliasConnection;
    std::map<int, std::string> SlotTests;             // the test ids of the store under way
    std::map<std::string, ExportOutboxEntry> Unkept;  // rows the outbox could not take
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
    // --- the export rows

    std::filesystem::path ExportOutboxFile() const { return WorkingDirectory / kExportOutboxFile; }
    QString ExportLockName() const {
        return QString::fromStdU16String(ExportOutboxFile().u16string()) + QStringLiteral(".lock");
    }

    std::filesystem::path SqliteExportFile() const {
        if (Setup.Export.Configured) return SettingsPath(Setup.Export.Database, WorkingDirectory);
        return DatabaseDirectory / kExportDatabaseFile;
    }

    // Opens the export database; false with the reason told once.
    bool OpenExport(QSqlDatabase& db) {
        db = Export->Database();
        if (Setup.Export.Configured) {
            const AliasOpenResult opened =
                OpenAliasDatabase(db, Setup.Export, WorkingDirectory, false, "export");
            if (!opened.Open)
                Tell(opened.Problem + "; the export rows wait in \"" + ExportOutboxFile().string() +
                     "\"");
            return opened.Open;
        }
        if (!Setup.NetConfigProblem.empty()) {
            Tell(Setup.NetConfigProblem);
            return false;
        }
        std::error_code error;
        const std::filesystem::path file = SqliteExportFile();
        if (!std::filesystem::is_directory(DatabaseDirectory, error)) {
            Tell("the database directory \"" + DatabaseDirectory.string() +
                 "\" is not there (a share that is not mounted?): the export rows wait in \"" +
                 ExportOutboxFile().string() + "\"");
            return false;
        }
        if (!OpenSqliteFile(db, ResolveInDirectory(DatabaseDirectory, kExportDatabaseFile),
                            false)) {
            Tell("the export database \"" + file.string() + "\" cannot be opened" +
                 (std::filesystem::exists(file, error)
                      ? ": " + db.lastError().text().toStdString()
                      : std::string(" (quorvex-cli db init --export creates it)")) +
                 "; the export rows wait in \"" + ExportOutboxFile().string() + "\"");
            return false;
        }
        return true;
    }

    // The rows of one stored test in one transaction: quorvex_results first, whose key is the
    // test id; when it is there already the test arrived before and nothing is added.
    static std::string DeliverExportRows(QSqlDatabase& db, const std::vector<ExportRow>& rows) {
        if (!db.transaction()) return Failure(db, "begin");
        const std::string problem = InsertTestRows(db, rows);
        if (!problem.empty()) {
            db.rollback();
            return problem;
        }
        if (!db.commit()) return Failure(db, "commit");
        return {};
    }

    static std::string InsertTestRows(QSqlDatabase& db, const std::vector<ExportRow>& rows) {
        std::string problem;
        bool fresh = true;
        for (const ExportRow& row : rows) {
            if (row.Table == kResultsTable) problem = InsertRow(db, row, true, &fresh);
            if (!problem.empty()) return problem;
        }
        for (const ExportRow& row : rows) {
            if (!fresh) break;
            if (row.Table != kResultsTable && row.Table != kAliasTable) {
                problem = InsertRow(db, row, true);
                if (!problem.empty()) return problem;
            }
        }
        return {};
    }

    // A backlog goes in one transaction (a SQLite file syncs once, not once per test); when
    // any of it is refused, nothing of it stays and the tests go one by one.
    static bool DeliverBacklog(QSqlDatabase& db, std::vector<ExportOutboxLine>& lines) {
        std::vector<ExportOutboxEntry*> due;
        for (ExportOutboxLine& line : lines) {
            if (line.Entry && line.Entry->Committed && !line.Entry->Rows.empty()) {
                due.push_back(&*line.Entry);
            }
        }
        if (due.size() < 2 || !db.transaction()) return false;
        for (ExportOutboxEntry* entry : due) {
            if (!InsertTestRows(db, entry->Rows).empty()) {
                db.rollback();
                return false;
            }
        }
        if (!db.commit()) return false;
        for (ExportOutboxEntry* entry : due) entry->Rows.clear();
        return true;
    }

    // A pending line of an earlier store: the record decides. Only when no store of the
    // project is under way (its lock is free) can a missing record mean an ended store.
    void ResolvePending(ExportOutboxEntry& entry, bool& drop) {
        const std::filesystem::path resultsFile(entry.ResultsFile);
        const StoreLock lock(resultsFile.parent_path(), std::chrono::milliseconds(0));
        if (!lock.Held()) return;
        const std::optional<ResultsRecord> record =
            ReadProjectRecord(resultsFile, entry.RecordNumber);
        if (record && RecordDigest(ResultsRecordImage(*record)) == entry.Digest) {
            entry.Committed = true;
            return;
        }
        drop = true;
        Tell("the store of record " + std::to_string(entry.RecordNumber) + " of \"" +
             entry.ResultsFile + "\" ended before its record was written: its rows are dropped");
    }

    // Moves the WerteZug rows of committed lines into the alias outbox (under the test id,
    // which the alias ledger knows), from where they are sent as ever.
    void HandOverAliasRows(std::vector<ExportOutboxLine>& lines, bool& changed) {
        std::vector<OutboxEntry> handed;
        for (const ExportOutboxLine& line : lines) {
            if (!line.Entry || !line.Entry->Committed) continue;
            for (const ExportRow& row : line.Entry->Rows) {
                if (row.Table == kAliasTable) handed.push_back({line.Entry->Id, row});
            }
        }
        if (handed.empty()) return;
        if (Alias.Configured) {
            QLockFile lock(QString::fromStdU16String(OutboxFile().u16string()) +
                           QStringLiteral(".lock"));
            if (!lock.tryLock(10000)) return;
            OutboxContent content = ReadOutbox(OutboxFile());
            Tell(content.Messages);
            if (!content.Readable) return;
            std::set<std::string> there;
            for (const OutboxLine& line : content.Lines) {
                if (line.Entry) there.insert(line.Entry->Id);
            }
            for (const OutboxEntry& entry : handed) {
                if (there.insert(entry.Id).second) {
                    content.Lines.push_back({FormatOutboxLine(entry), entry});
                }
            }
            if (!WriteOutbox(OutboxFile(), content.Lines)) {
                Tell("\"" + OutboxFile().string() +
                     "\" could not be written: the alias rows "
                     "wait in \"" +
                     ExportOutboxFile().string() + "\"");
                return;
            }
        } else {
            Tell("no alias database is configured any more: " + std::to_string(handed.size()) +
                 " WerteZug row(s) of \"" + ExportOutboxFile().string() + "\" are dropped");
        }
        for (ExportOutboxLine& line : lines) {
            if (!line.Entry || !line.Entry->Committed) continue;
            auto& rows = line.Entry->Rows;
            rows.erase(
                std::remove_if(rows.begin(), rows.end(),
                               [](const ExportRow& row) { return row.Table == kAliasTable; }),
                rows.end());
            changed = true;
        }
    }

    // Sends the committed lines to the export database; a row the database refuses stays with
    // a message, a lost connection leaves the rest for later.
    void SendExportRows(std::vector<ExportOutboxLine>& lines, bool& changed) {
        bool any = false;
        for (const ExportOutboxLine& line : lines) {
            any = any || (line.Entry && line.Entry->Committed && !line.Entry->Rows.empty());
        }
        if (!any) return;
        QSqlDatabase db;
        if (!OpenExport(db)) return;
        if (DeliverBacklog(db, lines)) {
            changed = true;
            db.close();
            return;
        }
        for (ExportOutboxLine& line : lines) {
            if (!line.Entry || !line.Entry->Committed || line.Entry->Rows.empty()) continue;
            const std::string problem = DeliverExportRows(db, line.Entry->Rows);
            if (problem.empty()) {
                line.Entry->Rows.clear();
                changed = true;
                continue;
            }
            Tell("the export rows of test \"" + line.Entry->Id + "\" (record " +
                 std::to_string(line.Entry->RecordNumber) + " of \"" + line.Entry->ResultsFile +
                 "\") were not written: " + problem + "; they wait in \"" +
                 ExportOutboxFile().string() + "\"");
            if (!StillConnected(db)) break;
        }
        db.close();
    }

    // Works through "Export.outbox"; returns the lines that stay.
    int SendExportOutbox() {
        QLockFile lock(ExportLockName());
        if (!lock.tryLock(10000)) return CountOutboxLines(ExportOutboxFile());
        ExportOutboxContent content = ReadExportOutbox(ExportOutboxFile());
        Tell(content.Messages);
        if (!content.Readable) return 0;
        bool changed = false;
        std::set<std::string> ours;
        for (const auto& [slot, id] : SlotTests) ours.insert(id);
        std::vector<ExportOutboxLine> kept;
        for (ExportOutboxLine& line : content.Lines) {
            bool drop = false;
            if (line.Entry && !line.Entry->Committed && !ours.count(line.Entry->Id)) {
                ResolvePending(*line.Entry, drop);
                changed = changed || drop || line.Entry->Committed;
            }
            if (!drop) kept.push_back(std::move(line));
        }
        HandOverAliasRows(kept, changed);
        SendExportRows(kept, changed);
        std::vector<ExportOutboxLine> left;
        for (ExportOutboxLine& line : kept) {
            if (line.Entry && line.Entry->Rows.empty()) continue;
            if (line.Entry) line.Text = FormatExportOutboxLine(*line.Entry);
            left.push_back(std::move(line));
        }
        if (changed && !WriteExportOutbox(ExportOutboxFile(), left)) {
            // What was delivered carries its test id: sending it again adds nothing.
            Tell("\"" + ExportOutboxFile().string() + "\" could not be rewritten");
        }
        return static_cast<int>(left.size());
    }

    // Changes the line of one test under the outbox's lock: `change` returns false to remove it.
    bool ChangeExportLine(const std::string& id,
                          const std::function<bool(ExportOutboxEntry&)>& change,
                          const ExportOutboxEntry* added) {
        QLockFile lock(ExportLockName());
        if (!lock.tryLock(10000)) return false;
        ExportOutboxContent content = ReadExportOutbox(ExportOutboxFile());
        Tell(content.Messages);
        if (!content.Readable) return false;
        std::vector<ExportOutboxLine> lines;
        for (ExportOutboxLine& line : content.Lines) {
            if (line.Entry && line.Entry->Id == id) {
                if (!change(*line.Entry)) continue;
                line.Text = FormatExportOutboxLine(*line.Entry);
            }
            lines.push_back(std::move(line));
        }
        if (added) lines.push_back({FormatExportOutboxLine(*added), *added});
        return WriteExportOutbox(ExportOutboxFile(), lines);
    }

    // Rows the outbox could not take go directly; told when that fails too.
    void SendUnkept() {
        for (auto it = Unkept.begin(); it != Unkept.end();) {
            ExportOutboxEntry& entry = it->second;
            if (!entry.Committed) {
                ++it;
                continue;
            }
            std::string problem;
            std::vector<ExportRow> exportRows;
            for (const ExportRow& row : entry.Rows) {
                if (row.Table == kAliasTable) {
                    QSqlDatabase db;
                    if (!OpenAlias(db)) {
                        problem = "the alias database is not open";
                        continue;
                    }
                    const std::string sent = SendEntry(db, {entry.Id, row});
                    if (!sent.empty()) problem = sent;
                    db.close();
                } else {
                    exportRows.push_back(row);
                }
            }
            if (!exportRows.empty()) {
                QSqlDatabase db;
                if (OpenExport(db)) {
                    const std::string sent = DeliverExportRows(db, exportRows);
                    if (!sent.empty()) problem = sent;
                    db.close();
                } else {
                    problem = "the export database is not open";
                }
            }
            if (!problem.empty()) {
                Tell("the rows of test \"" + entry.Id + "\" could neither be written (" + problem +
                     ") nor kept in \"" + ExportOutboxFile().string() + "\"");
            }
            it = Unkept.erase(it);
        }
    }
};

ExportDatabases::ExportDatabases(DatabaseSetup setup) : impl_(std::make_unique<Impl>()) {
    impl_->Setup = std::move(setup);
    if (impl_->Setup.MachineName.empty()) impl_->Setup.MachineName = HostMachineName();
    if (impl_->Alias.Configured) {
        impl_->AliasConnection = std::make_unique<SqlConnection>(AliasQtDriver(impl_->Alias));
    }
    impl_->Export = std::make_unique<SqlConnection>(impl_->Setup.Export.Configured
                                                        ? AliasQtDriver(impl_->Setup.Export)
                                                        : QStringLiteral("QSQLITE"));
}

namespace {
DatabaseSetup PlainSetup(std::filesystem::path databaseDirectory,
                         std::filesystem::path workingDirectory, AliasSettings alias) {
    DatabaseSetup setup;
    std::error_code error;
    setup.ExportInUse = std::filesystem::exists(databaseDirectory / kExportDatabaseFile, error);
    setup.DatabaseDirectory = std::move(databaseDirectory);
    setup.WorkingDirectory = std::move(workingDirectory);
    setup.Alias = std::move(alias);
    return setup;
}
}  // namespace

ExportDatabases::ExportDatabases(std::filesystem::path databaseDirectory,
                                 std::filesystem::path workingDirectory, AliasSettings alias)
    : ExportDatabases(PlainSetup(std::move(databaseDirectory), std::move(workingDirectory),
                                 std::move(alias))) {}

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
        std::string error;
        if (TableExists(db, table, error)) continue;
        available = false;
        const std::string database =
            "the alias database " + DescribeAliasDatabase(impl_->Alias, impl_->WorkingDirectory);
        if (!error.empty()) {
            // Locked by another program, or gone: its own words, not a missing table.
            impl_->Tell(database + " did not answer: " + error);
            break;
        }
        impl_->Tell(database + " has no table \"" + table +
                    "\" (quorvex-cli db init --alias creates it)");
    }
    db.close();
    return available;
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

void ExportDatabases::Queue(const QueuedRows& rows) {
    Impl& d = *impl_;
    ExportOutboxEntry entry;
    entry.Id = NewOutboxId();
    entry.ResultsFile = rows.ResultsFile.string();
    entry.RecordNumber = rows.Record.RecordNumber;
    entry.Digest = RecordDigest(ResultsRecordImage(rows.Record));
    if (d.Setup.ExportInUse && rows.Export) {
        double today = 0;
        for (const ExportField& field : rows.Export->Fields) {
            if (field.Kind == ExportKind::Date) today = field.Number;
        }
        entry.Rows.push_back(BuildResultsRow(rows, entry.Id, d.Setup.MachineName, today));
        entry.Rows.push_back(WithTestIdentity(*rows.Export, entry.Id, d.Setup.MachineName));
    }
    if (d.Alias.Configured && rows.Alias) entry.Rows.push_back(*rows.Alias);
    if (entry.Rows.empty()) return;  // a lab without these databases queues nothing
    d.SlotTests[rows.Slot] = entry.Id;
    if (!d.ChangeExportLine(
            entry.Id, [](ExportOutboxEntry&) { return true; }, &entry)) {
        d.Unkept[entry.Id] = entry;
    }
}

void ExportDatabases::Committed(int slot, bool stored, int recordNumber) {
    Impl& d = *impl_;
    const auto it = d.SlotTests.find(slot);
    if (it == d.SlotTests.end()) return;
    const std::string id = it->second;
    if (!stored) d.SlotTests.erase(it);
    const auto change = [&](ExportOutboxEntry& entry) {
        if (!stored) return false;  // no record: its rows were never a stored test's
        entry.Committed = true;
        if (entry.RecordNumber != recordNumber) {
            // Another program appended meanwhile: the rows follow the number the record got.
            entry.RecordNumber = recordNumber;
            for (ExportRow& row : entry.Rows) {
                for (ExportField& field : row.Fields) {
                    if (field.Name == "record_number") field.Integer = recordNumber;
                }
            }
        }
        return true;
    };
    if (const auto unkept = d.Unkept.find(id); unkept != d.Unkept.end()) {
        if (!change(unkept->second)) d.Unkept.erase(unkept);
        return;
    }
    if (!d.ChangeExportLine(id, change, nullptr)) {
        d.Tell("\"" + d.ExportOutboxFile().string() +
               "\" could not be rewritten after the record: its rows are sent at the next start");
    }
}

void ExportDatabases::RowsDue(int) {}

void ExportDatabases::Deliver() {
    impl_->SendExportOutbox();
    impl_->SendUnkept();
    impl_->SlotTests.clear();
    SendPendingAliasRows();
}

void ExportDatabases::WriteExportRow(const ExportRow& row) {
    QueuedRows rows;
    rows.Slot = -1;
    rows.Export = row;
    Queue(rows);
    Committed(-1, true, 0);
    Deliver();
}

int ExportDatabases::SendPendingRows() {
    impl_->SendExportOutbox();
    SendPendingAliasRows();
    return PendingExportRows() + PendingAliasRows();
}

int ExportDatabases::PendingExportRows() const {
    return CountOutboxLines(impl_->ExportOutboxFile());
}

std::string ExportDatabases::NetworkFileSystemWarning() const {
    const Impl& d = *impl_;
    if (!d.Setup.ExportInUse) return {};
    if (d.Setup.Export.Configured && AliasQtDriver(d.Setup.Export) != QLatin1String("QSQLITE")) {
        return {};
    }
    const std::filesystem::path file = d.SqliteExportFile();
    const std::string system = NetworkFileSystemOf(file);
    return system.empty() ? std::string() : NetworkSqliteWarning(file, system);
}

std::string DescribeExportDatabase(const DatabaseSetup& setup) {
    if (setup.Export.Configured) return DescribeAliasDatabase(setup.Export, setup.WorkingDirectory);
    return "\"" + (setup.DatabaseDirectory / kExportDatabaseFile).string() + "\"";
}

}  // namespace quorvex
