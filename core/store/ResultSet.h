#pragma once

#include <QObject>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>

class Database;

// How posted and deleted rows go back to their table: one statement each for a new row, a
// changed row and a deleted row. ":Column" stands for the row's value of that column,
// ":OLD_Column" for the value the column had when the row was read.
struct RowStatements {
    QStringList insert;
    QStringList modify;
    QStringList remove;
};

// A live result set over one table: a statement given as lines, opened and walked with a
// cursor, rows inserted, edited and deleted through it. Rows are fetched from the engine only
// as far as the cursor or a view needs them, so opening a large table costs nothing.
class ResultSet : public QObject {
    Q_OBJECT
public:
    enum class State { Closed, Browse, Insert, Edit };

    // Fills computed columns for one row: read the row's stored values, set the computed ones.
    class CalcRow {
    public:
        QVariant value(const QString& field) const;
        void setValue(const QString& field, const QVariant& value);

    private:
        friend class ResultSet;
        CalcRow(ResultSet& rs, QVector<QVariant>& values) : rs_(rs), values_(values) {}
        ResultSet& rs_;
        QVector<QVariant>& values_;
    };
    using CalcFields = std::function<void(CalcRow&)>;

    ResultSet(Database& db, QString name, RowStatements rowStatements, QObject* parent = nullptr);
    ~ResultSet() override;

    QString name() const { return name_; }
    Database& database() const { return db_; }

    // The statement. Replacing it closes the result set.
    QStringList sql() const { return sql_; }
    void setSql(const QStringList& lines);

    void open();
    void close();
    bool isOpen() const { return state_ != State::Closed; }
    State state() const { return state_; }
    // Runs a statement that yields no rows (DELETE) on a closed result set.
    void execute();

    int rowCount();
    bool isEmpty();
    void first();
    void last();
    void next();
    bool eof() const { return eof_; }
    // Index of the current row, -1 when there is none.
    int currentRow() const { return current_; }
    // Moves the cursor to a row picked in a view (reported like any other move).
    void moveTo(int row);
    // Moves to the first row whose `field` equals `value`; false when there is none.
    bool locate(const QString& field, const QVariant& value);

    // Columns, found without regard to case. Computed columns follow the stored ones.
    QStringList fieldNames() const { return fields_; }
    int fieldIndex(const QString& field) const;
    bool hasField(const QString& field) const { return fieldIndex(field) >= 0; }
    QVariant value(const QString& field) const;
    // Empty values read as 0 or as empty text.
    qint64 asInteger(const QString& field) const;
    double asFloat(const QString& field) const;
    QString asText(const QString& field) const;
    QDateTime asDateTime(const QString& field) const;
    bool isNull(const QString& field) const;
    // A stored date or moment as the engine returns it, read back into a date-time.
    static QDateTime toDateTime(const QVariant& value);

    void insert();
    void edit();
    void setValue(const QString& field, const QVariant& value);
    void post();
    void cancel();
    void remove();

    // After-move notification; detach() and attach() suspend and restore it.
    void setAfterScroll(std::function<void()> handler) { afterScroll_ = std::move(handler); }
    void detachAfterScroll() { afterScrollAttached_ = false; }
    void attachAfterScroll() { afterScrollAttached_ = true; }
    void setCalcFields(const QStringList& names, CalcFields fill);

    // For views: rows fetched so far and their values.
    int fetchedCount() const { return static_cast<int>(rows_.size()); }
    bool canFetchMore() const { return query_ != nullptr || paused_; }
    void fetchMore(int count);
    QVariant cell(int row, int column) const;

signals:
    void opened();
    void closed();
    void rowsFetched(int first, int last);
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentRowChanged(int row);

private:
    struct Row {
        QVector<QVariant> values;
        QVector<QVariant> old;
    };

    QString statementText() const;
    QString selectText() const;
    bool fetchOne();
    void fetchAll();
    void pauseFetching();
    void computeFields(Row& row);
    void setCurrent(int row);
    void reportScroll();
    void leaveEditing();
    void runRowStatement(const QStringList& lines, const Row& row, QVariant* insertedId);
    void requireOpen(const char* operation) const;
    void requireCurrent(const char* operation) const;

    Database& db_;
    QString name_;
    RowStatements rowStatements_;
    QStringList sql_;
    State state_ = State::Closed;
    std::unique_ptr<QSqlQuery> query_; // still delivering rows; null once all are fetched
    bool paused_ = false;              // reading paused for a write, resumes at fetched_
    int fetched_ = 0;
    int writeListener_ = 0;
    QStringList fields_;
    int storedFields_ = 0;
    QVector<Row> rows_;
    int current_ = -1;
    bool eof_ = true;
    std::optional<int> knownCount_;
    int insertReturnRow_ = -1;
    std::function<void()> afterScroll_;
    bool afterScrollAttached_ = true;
    QStringList calcNames_;
    CalcFields calcFill_;
};
