#pragma once
// A statement and its rows on one connection, reused statement after statement:
//   Close(); SQL.Clear(); SQL.Add(...); Parameters.ParamByName("Name").Value = ...; Open() / ExecSQL().
// Values only ever reach the engine as bound parameters (":Name" in the text), so quotes or SQL
// inside a path or a name are stored and found like any other character.
//
// Rows are fetched as the caller walks them; a single-table "SELECT * FROM T ..." can also
// append, edit and delete rows (through the table's rowid).
#include "platform/db/ADOConnection.h"

#include <QByteArray>
#include <QMap>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

class QIODevice;
class TADOQuery;

class TSQLLines {
public:
    void Clear();
    void Add(const QString& line);
    int Count() const { return FLines.size(); }
    QString Text() const { return FLines.join(QLatin1Char('\n')); }
    const QStringList& Lines() const { return FLines; }

private:
    friend class TADOQuery;
    explicit TSQLLines(TADOQuery* owner) : FOwner(owner) {}
    TADOQuery* FOwner;
    QStringList FLines;
};

struct TParameter {
    QString Name;
    QVariant Value;   // QString, int or QByteArray; a null QVariant binds NULL
};

class TParameters {
public:
    // Throws EDatabaseError when the statement text has no ":Name".
    TParameter& ParamByName(const QString& name);
    void Clear() { FValues.clear(); }

private:
    friend class TADOQuery;
    explicit TParameters(TADOQuery* owner) : FOwner(owner) {}
    TADOQuery* FOwner;
    QMap<QString, TParameter> FValues;   // by lower-cased name
};

// One column of the current row (or of the row being appended or edited).
class TField {
public:
    QString Name() const;
    bool IsNull() const;
    QString AsString() const;
    int AsInteger() const;
    QByteArray AsBytes() const;
    void SaveToStream(QIODevice& stream) const;

    void SetAsString(const QString& value);
    void SetAsInteger(int value);
    void SetAsBytes(const QByteArray& value);
    void LoadFromStream(QIODevice& stream);
    void Clear();                     // NULL

private:
    friend class TADOQuery;
    TField(TADOQuery* query, int index) : FQuery(query), FIndex(index) {}
    QVariant Value() const;
    void SetValue(const QVariant& value);
    TADOQuery* FQuery;
    int FIndex;
};

enum class TDataSetState { Inactive, Browse, Edit, Insert };

class TADOQuery {
public:
    explicit TADOQuery(TADOConnection& connection);
    ~TADOQuery();
    TADOQuery(const TADOQuery&) = delete;
    TADOQuery& operator=(const TADOQuery&) = delete;

    TSQLLines SQL;
    TParameters Parameters;

    void Open();                      // runs a SELECT and stands on its first row
    void Close();                     // drops rows and any unposted change
    bool Active() const { return FState != TDataSetState::Inactive; }
    TDataSetState State() const { return FState; }

    bool IsEmpty();                   // no row, or closed
    bool Eof();                       // walked past the last row (also when empty or closed)
    void First();
    void Next();

    int FieldCount() const { return FColumns.size(); }
    QStringList FieldNames() const { return FColumns; }
    TField FieldByName(const QString& name);   // throws EDatabaseError for an unknown column

    void Append();                    // new row; Post inserts it and stands on it
    void Edit();                      // Post updates the current row
    void Post();
    void Cancel();
    void Delete();                    // removes the current row; stands on the next

    int ExecSQL();                    // a statement without rows; returns the rows it touched

    // Counter the engine gave the last row this query inserted (the row's rowid).
    qint64 LastInsertId() const { return FLastInsertId; }

    TADOConnection& Connection() { return FConnection; }

    // ":Name" parameters of a statement, in order of appearance (outside quotes and comments).
    static QStringList ParameterNames(const QString& statement);

private:
    friend class TSQLLines;
    friend class TParameters;
    friend class TField;
    friend class TADOConnection;

    struct TRow {
        qint64 RowId = 0;
        QVariantList Values;
    };

    QSqlQuery Prepare(const QString& statement, const QMap<QString, TParameter>& params);
    void StatementChanged();
    void ConnectionClosing();
    bool FetchUpTo(size_t index);
    bool HasCurrent();
    void RequireTable(const char* operation) const;
    void ReadRowById(qint64 rowId, TRow& row);

    TADOConnection& FConnection;
    TDataSetState FState = TDataSetState::Inactive;
    QSqlQuery FQuery;
    bool FExhausted = true;
    QStringList FColumns;
    int FFirstValueColumn = 0;        // 1 when column 0 of the result is the hidden rowid
    QString FTable;                   // set when the rows can be changed
    std::vector<TRow> FRows;
    size_t FCursor = 0;
    QVariantList FPending;
    std::vector<bool> FChanged;
    qint64 FLastInsertId = -1;
};
