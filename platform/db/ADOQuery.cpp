#include "platform/db/ADOQuery.h"

#include <QIODevice>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>

namespace {

const QString RowIdAlias = QStringLiteral("moviscope_rowid__");

struct TPlaceholder {
    qsizetype Start;
    qsizetype Length;
    QString Name;
};

bool IsNameStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool IsNameChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// ":Name" tokens outside string literals, quoted identifiers and comments.
std::vector<TPlaceholder> FindPlaceholders(const QString& text)
{
    std::vector<TPlaceholder> found;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('[')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            ++i;
            while (i < n) {
                if (text[i] == close) {
                    // A doubled quote inside a literal is the quote itself.
                    if (close != QLatin1Char(']') && i + 1 < n && text[i + 1] == close) {
                        i += 2;
                        continue;
                    }
                    break;
                }
                ++i;
            }
            ++i;
        } else if (c == QLatin1Char('-') && i + 1 < n && text[i + 1] == QLatin1Char('-')) {
            while (i < n && text[i] != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('/') && i + 1 < n && text[i + 1] == QLatin1Char('*')) {
            const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
        } else if (c == QLatin1Char(':') && i + 1 < n && IsNameStart(text[i + 1])) {
            qsizetype j = i + 1;
            while (j < n && IsNameChar(text[j]))
                ++j;
            found.push_back({i, j - i, text.mid(i + 1, j - i - 1)});
            i = j;
        } else {
            ++i;
        }
    }
    return found;
}

QString Key(const QString& name) { return name.toLower(); }

// Qt binds a null QString as NULL; an empty text is a value and must compare equal to itself.
QVariant Bindable(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString && value.toString().isNull())
        return QVariant(QString(QLatin1String("")));
    if (value.typeId() == QMetaType::QByteArray && value.toByteArray().isNull())
        return QVariant(QByteArray(""));
    return value;
}

} // namespace

// ---- TSQLLines, TParameters

void TSQLLines::Clear()
{
    FLines.clear();
    FOwner->StatementChanged();
}

void TSQLLines::Add(const QString& line)
{
    FLines.append(line);
    FOwner->StatementChanged();
}

TParameter& TParameters::ParamByName(const QString& name)
{
    const QStringList names = TADOQuery::ParameterNames(FOwner->SQL.Text());
    bool known = false;
    for (const QString& n : names)
        known = known || n.compare(name, Qt::CaseInsensitive) == 0;
    if (!known)
        throw EDatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
    TParameter& p = FValues[Key(name)];
    p.Name = name;
    return p;
}

// ---- TField

QString TField::Name() const { return FQuery->FColumns.value(FIndex); }

QVariant TField::Value() const
{
    TADOQuery& q = *FQuery;
    if (q.FState == TDataSetState::Edit || q.FState == TDataSetState::Insert)
        return q.FPending.value(FIndex);
    if (!q.HasCurrent())
        return {};
    return q.FRows[q.FCursor].Values.value(FIndex);
}

void TField::SetValue(const QVariant& value)
{
    TADOQuery& q = *FQuery;
    if (q.FState != TDataSetState::Edit && q.FState != TDataSetState::Insert)
        throw EDatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    q.FPending[FIndex] = value;
    q.FChanged[FIndex] = true;
}

bool TField::IsNull() const { return Value().isNull(); }

QString TField::AsString() const
{
    const QVariant v = Value();
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(v.toByteArray());
    return v.toString();
}

int TField::AsInteger() const
{
    const QVariant v = Value();
    if (v.isNull())
        return 0;
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (!ok)
        throw EDatabaseError(QStringLiteral("'%1' is not a valid integer value for field '%2'").arg(v.toString(), Name()));
    return static_cast<int>(n);
}

QByteArray TField::AsBytes() const
{
    const QVariant v = Value();
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QString)
        return v.toString().toUtf8();
    return v.toByteArray();
}

void TField::SaveToStream(QIODevice& stream) const
{
    const QByteArray bytes = AsBytes();
    if (stream.write(bytes) != bytes.size())
        throw EDatabaseError(QStringLiteral("Unable to write field '%1': %2").arg(Name(), stream.errorString()));
}

void TField::SetAsString(const QString& value) { SetValue(value); }
void TField::SetAsInteger(int value) { SetValue(value); }
void TField::SetAsBytes(const QByteArray& value) { SetValue(value); }
void TField::LoadFromStream(QIODevice& stream) { SetAsBytes(stream.readAll()); }
void TField::Clear() { SetValue(QVariant()); }

// ---- TADOQuery

TADOQuery::TADOQuery(TADOConnection& connection)
    : SQL(this), Parameters(this), FConnection(connection)
{
    FConnection.Attach(this);
}

TADOQuery::~TADOQuery()
{
    Close();
    FConnection.Detach(this);
}

QStringList TADOQuery::ParameterNames(const QString& statement)
{
    QStringList names;
    for (const TPlaceholder& p : FindPlaceholders(statement))
        names.append(p.Name);
    return names;
}

void TADOQuery::StatementChanged()
{
    // A new text is a new statement: the old rows and values no longer belong to it.
    Close();
    Parameters.Clear();
}

void TADOQuery::ConnectionClosing()
{
    Close();
}

QSqlQuery TADOQuery::Prepare(const QString& statement, const QMap<QString, TParameter>& params)
{
    const std::vector<TPlaceholder> holders = FindPlaceholders(statement);
    // Positional markers in place of the names: repeated names and any driver quirks with
    // named binding stay out of the picture.
    QString text = statement;
    for (auto it = holders.rbegin(); it != holders.rend(); ++it)
        text.replace(it->Start, it->Length, QStringLiteral("?"));

    QSqlQuery query(FConnection.Database());
    query.setForwardOnly(true);
    if (!query.prepare(text))
        throw EDatabaseError(EngineErrorText(query.lastError()));
    for (const TPlaceholder& h : holders) {
        const auto it = params.constFind(Key(h.Name));
        if (it == params.constEnd())
            throw EDatabaseError(QStringLiteral("No value given for parameter '%1'").arg(h.Name));
        query.addBindValue(Bindable(it->Value));
    }
    return query;
}

void TADOQuery::Open()
{
    Close();
    QString statement = SQL.Text();
    // A plain "SELECT * FROM T ..." can change its rows: fetch each row's rowid with it.
    static const QRegularExpression singleTable(
        QStringLiteral("^\\s*SELECT\\s+\\*\\s+FROM\\s+([A-Za-z_][A-Za-z0-9_]*)((\\s+(WHERE|ORDER)\\b[\\s\\S]*)?)\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = singleTable.match(statement);
    QString table;
    if (m.hasMatch()) {
        table = m.captured(1);
        statement = QStringLiteral("SELECT rowid AS %1, * FROM %2%3").arg(RowIdAlias, table, m.captured(2));
    }

    QSqlQuery query = Prepare(statement, Parameters.FValues);
    if (!query.exec())
        throw EDatabaseError(EngineErrorText(query.lastError()));
    if (!query.isSelect())
        throw EDatabaseError(QStringLiteral("The statement returns no rows; use ExecSQL"));

    const QSqlRecord record = query.record();
    FFirstValueColumn = table.isEmpty() ? 0 : 1;
    FColumns.clear();
    for (int i = FFirstValueColumn; i < record.count(); ++i)
        FColumns.append(record.fieldName(i));
    FTable = table;
    FQuery = std::move(query);
    FExhausted = false;
    FRows.clear();
    FCursor = 0;
    FState = TDataSetState::Browse;
    FetchUpTo(0);
}

void TADOQuery::Close()
{
    FQuery = QSqlQuery();
    FExhausted = true;
    FRows.clear();
    FCursor = 0;
    FPending.clear();
    FChanged.clear();
    FColumns.clear();
    FTable.clear();
    FState = TDataSetState::Inactive;
}

bool TADOQuery::FetchUpTo(size_t index)
{
    while (FRows.size() <= index && !FExhausted) {
        if (!FQuery.next()) {
            const QSqlError error = FQuery.lastError();
            FExhausted = true;
            FQuery.finish();   // an unfinished statement would block compaction
            if (error.isValid() && error.type() != QSqlError::NoError)
                throw EDatabaseError(EngineErrorText(error));
            break;
        }
        TRow row;
        if (FFirstValueColumn == 1)
            row.RowId = FQuery.value(0).toLongLong();
        for (int i = FFirstValueColumn; i < FFirstValueColumn + FColumns.size(); ++i)
            row.Values.append(FQuery.value(i));
        FRows.push_back(std::move(row));
    }
    return index < FRows.size();
}

bool TADOQuery::HasCurrent()
{
    return Active() && FetchUpTo(FCursor);
}

bool TADOQuery::IsEmpty()
{
    return !Active() || !FetchUpTo(0);
}

bool TADOQuery::Eof()
{
    return !HasCurrent();
}

void TADOQuery::First()
{
    if (FState == TDataSetState::Edit || FState == TDataSetState::Insert)
        Post();
    FCursor = 0;
}

void TADOQuery::Next()
{
    if (FState == TDataSetState::Edit || FState == TDataSetState::Insert)
        Post();
    if (HasCurrent())
        ++FCursor;
    FetchUpTo(FCursor);
}

TField TADOQuery::FieldByName(const QString& name)
{
    for (int i = 0; i < FColumns.size(); ++i)
        if (FColumns[i].compare(name, Qt::CaseInsensitive) == 0)
            return TField(this, i);
    throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(name));
}

void TADOQuery::RequireTable(const char* operation) const
{
    if (!Active())
        throw EDatabaseError(QStringLiteral("Cannot %1 a closed dataset").arg(QLatin1String(operation)));
    if (FTable.isEmpty())
        throw EDatabaseError(QStringLiteral("Cannot %1 a read-only dataset").arg(QLatin1String(operation)));
}

void TADOQuery::Append()
{
    RequireTable("insert into");
    if (FState != TDataSetState::Browse)
        Post();
    FPending = QVariantList();
    for (int i = 0; i < FColumns.size(); ++i)
        FPending.append(QVariant());
    FChanged.assign(FColumns.size(), false);
    FState = TDataSetState::Insert;
}

void TADOQuery::Edit()
{
    RequireTable("modify");
    if (FState != TDataSetState::Browse)
        Post();
    if (!HasCurrent())
        throw EDatabaseError(QStringLiteral("Cannot modify: no current row"));
    FPending = FRows[FCursor].Values;
    FChanged.assign(FColumns.size(), false);
    FState = TDataSetState::Edit;
}

void TADOQuery::Cancel()
{
    if (FState == TDataSetState::Edit || FState == TDataSetState::Insert) {
        FPending.clear();
        FChanged.clear();
        FState = TDataSetState::Browse;
    }
}

void TADOQuery::ReadRowById(qint64 rowId, TRow& row)
{
    QSqlQuery q(FConnection.Database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(FTable));
    q.addBindValue(rowId);
    if (!q.exec())
        throw EDatabaseError(EngineErrorText(q.lastError()));
    row.RowId = rowId;
    row.Values.clear();
    if (q.next()) {
        const QSqlRecord rec = q.record();
        for (const QString& column : std::as_const(FColumns))
            row.Values.append(q.value(rec.indexOf(column)));
    } else {
        row.Values = FPending;
    }
}

void TADOQuery::Post()
{
    if (FState != TDataSetState::Edit && FState != TDataSetState::Insert)
        return;
    QStringList columns;
    QVariantList values;
    for (int i = 0; i < FColumns.size(); ++i) {
        if (FChanged[i]) {
            columns.append(FColumns[i]);
            values.append(FPending[i]);
        }
    }
    QSqlQuery q(FConnection.Database());
    if (FState == TDataSetState::Insert) {
        QString text;
        if (columns.isEmpty()) {
            text = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(FTable);
        } else {
            QStringList marks;
            for (int i = 0; i < columns.size(); ++i)
                marks.append(QStringLiteral("?"));
            text = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(FTable, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        }
        if (!q.prepare(text))
            throw EDatabaseError(EngineErrorText(q.lastError()));
        for (const QVariant& v : std::as_const(values))
            q.addBindValue(Bindable(v));
        if (!q.exec())
            throw EDatabaseError(EngineErrorText(q.lastError()));
        FLastInsertId = q.lastInsertId().toLongLong();
        q = QSqlQuery();
        // Stand on the new row as the engine stored it, so its counter can be read back.
        TRow row;
        ReadRowById(FLastInsertId, row);
        FetchUpTo(FCursor);
        if (FCursor > FRows.size())
            FCursor = FRows.size();
        FRows.insert(FRows.begin() + static_cast<std::ptrdiff_t>(FCursor), std::move(row));
    } else {
        if (!columns.isEmpty()) {
            QStringList sets;
            for (const QString& c : std::as_const(columns))
                sets.append(c + QStringLiteral("=?"));
            if (!q.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(FTable, sets.join(QLatin1Char(',')))))
                throw EDatabaseError(EngineErrorText(q.lastError()));
            for (const QVariant& v : std::as_const(values))
                q.addBindValue(Bindable(v));
            q.addBindValue(FRows[FCursor].RowId);
            if (!q.exec())
                throw EDatabaseError(EngineErrorText(q.lastError()));
            q = QSqlQuery();
            ReadRowById(FRows[FCursor].RowId, FRows[FCursor]);
        }
    }
    FPending.clear();
    FChanged.clear();
    FState = TDataSetState::Browse;
}

void TADOQuery::Delete()
{
    RequireTable("delete from");
    Cancel();
    if (!HasCurrent())
        throw EDatabaseError(QStringLiteral("Cannot delete: no current row"));
    QSqlQuery q(FConnection.Database());
    q.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(FTable));
    q.addBindValue(FRows[FCursor].RowId);
    if (!q.exec())
        throw EDatabaseError(EngineErrorText(q.lastError()));
    FRows.erase(FRows.begin() + static_cast<std::ptrdiff_t>(FCursor));
    FetchUpTo(FCursor);
}

int TADOQuery::ExecSQL()
{
    Close();
    QSqlQuery query = Prepare(SQL.Text(), Parameters.FValues);
    if (!query.exec())
        throw EDatabaseError(EngineErrorText(query.lastError()));
    return query.numRowsAffected();
}
