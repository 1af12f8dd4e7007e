#include "core/store/ResultSet.h"

#include "core/base/Errors.h"
#include "core/store/Database.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlRecord>

namespace {

constexpr int kFetchBlock = 64;

// Values go to the engine in fixed text forms for dates, so that they sort and read back
// the same whatever the locale.
QVariant toEngine(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return QVariant();
    switch (v.metaType().id()) {
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    default:
        return v;
    }
}

bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    bool okA = false;
    bool okB = false;
    const double da = a.toDouble(&okA);
    const double db = b.toDouble(&okB);
    if (okA && okB)
        return da == db;
    return a.toString() == b.toString();
}

} // namespace

QVariant ResultSet::CalcRow::value(const QString& field) const {
    const int i = rs_.fieldIndex(field);
    return i >= 0 && i < values_.size() ? values_[i] : QVariant();
}

void ResultSet::CalcRow::setValue(const QString& field, const QVariant& value) {
    const int i = rs_.fieldIndex(field);
    if (i >= 0 && i < values_.size())
        values_[i] = value;
}

ResultSet::ResultSet(Database& db, QString name, RowStatements rowStatements, QObject* parent)
    : QObject(parent), db_(db), name_(std::move(name)), rowStatements_(std::move(rowStatements)) {
    writeListener_ = db_.addWriteListener([this] { pauseFetching(); });
}

ResultSet::~ResultSet() {
    db_.removeWriteListener(writeListener_);
    query_.reset();
}

void ResultSet::setSql(const QStringList& lines) {
    close();
    sql_ = lines;
}

QString ResultSet::statementText() const {
    // Tables may be named by their file name ("units.db").
    static const QRegularExpression fileName(QStringLiteral("\\b([A-Za-z_]\\w*)\\.db\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
    QString text = sql_.join(QLatin1Char('\n'));
    text.replace(fileName, QStringLiteral("\\1"));
    return text;
}

QString ResultSet::selectText() const {
    QString text = statementText().trimmed();
    while (text.endsWith(QLatin1Char(';')))
        text = text.chopped(1).trimmed();
    return text;
}

void ResultSet::open() {
    if (isOpen())
        return;
    auto q = std::make_unique<QSqlQuery>(db_.connection());
    q->setForwardOnly(true);
    if (!q->exec(statementText()))
        throw AppError(Database::errorText(q->lastError()));
    if (!q->isSelect())
        throw AppError(QStringLiteral("Die Abfrage liefert keine Datenmenge"));

    const QSqlRecord record = q->record();
    fields_.clear();
    for (int i = 0; i < record.count(); ++i)
        fields_ << record.fieldName(i);
    storedFields_ = static_cast<int>(fields_.size());
    fields_ << calcNames_;
    rows_.clear();
    query_ = std::move(q);
    fetched_ = 0;
    paused_ = false;
    knownCount_.reset();
    state_ = State::Browse;
    fetchMore(kFetchBlock);
    current_ = rows_.isEmpty() ? -1 : 0;
    eof_ = rows_.isEmpty();
    emit opened();
    if (!rows_.isEmpty())
        reportScroll();
}

void ResultSet::close() {
    if (!isOpen())
        return;
    query_.reset();
    paused_ = false;
    rows_.clear();
    fields_.clear();
    storedFields_ = 0;
    current_ = -1;
    eof_ = true;
    knownCount_.reset();
    state_ = State::Closed;
    emit closed();
}

void ResultSet::execute() {
    close();
    db_.prepareWrite();
    QSqlQuery q(db_.connection());
    if (!q.exec(statementText()))
        throw AppError(Database::errorText(q.lastError()));
}

void ResultSet::pauseFetching() {
    if (query_) {
        query_.reset();
        paused_ = true;
    }
}

bool ResultSet::fetchOne() {
    if (!query_ && paused_) {
        // Resume where reading stopped: the statement's rows after those already fetched.
        auto q = std::make_unique<QSqlQuery>(db_.connection());
        q->setForwardOnly(true);
        if (!q->exec(selectText() + QStringLiteral(" LIMIT -1 OFFSET %1").arg(fetched_)))
            throw AppError(Database::errorText(q->lastError()));
        query_ = std::move(q);
        paused_ = false;
    }
    if (!query_)
        return false;
    if (!query_->next()) {
        const QSqlError error = query_->lastError();
        query_.reset();
        if (error.isValid())
            throw AppError(Database::errorText(error));
        return false;
    }
    Row row;
    row.values.resize(fields_.size());
    for (int i = 0; i < storedFields_; ++i)
        row.values[i] = query_->value(i);
    row.old = row.values;
    computeFields(row);
    rows_.append(row);
    ++fetched_;
    return true;
}

void ResultSet::fetchMore(int count) {
    const int first = static_cast<int>(rows_.size());
    int n = 0;
    while (n < count && fetchOne())
        ++n;
    if (n > 0)
        emit rowsFetched(first, first + n - 1);
}

void ResultSet::fetchAll() {
    while (canFetchMore())
        fetchMore(1024);
}

int ResultSet::rowCount() {
    requireOpen("rowCount");
    if (!canFetchMore())
        return static_cast<int>(rows_.size());
    if (!knownCount_) {
        QSqlQuery q(db_.connection());
        if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM (%1)").arg(selectText())) || !q.next())
            throw AppError(Database::errorText(q.lastError()));
        knownCount_ = q.value(0).toInt();
    }
    return std::max(*knownCount_, static_cast<int>(rows_.size()));
}

bool ResultSet::isEmpty() {
    requireOpen("isEmpty");
    return rows_.isEmpty();
}

void ResultSet::first() {
    requireOpen("first");
    leaveEditing();
    setCurrent(rows_.isEmpty() ? -1 : 0);
    eof_ = rows_.isEmpty();
    reportScroll();
}

void ResultSet::last() {
    requireOpen("last");
    leaveEditing();
    fetchAll();
    setCurrent(static_cast<int>(rows_.size()) - 1);
    eof_ = true;
    reportScroll();
}

void ResultSet::next() {
    requireOpen("next");
    leaveEditing();
    if (current_ + 1 >= rows_.size())
        fetchMore(kFetchBlock);
    if (current_ + 1 < rows_.size()) {
        setCurrent(current_ + 1);
        eof_ = false;
        reportScroll();
    } else {
        eof_ = true;
    }
}

void ResultSet::moveTo(int row) {
    if (!isOpen() || row < 0 || row == current_)
        return;
    while (row >= rows_.size() && canFetchMore())
        fetchMore(kFetchBlock);
    if (row >= rows_.size())
        return;
    leaveEditing();
    setCurrent(row);
    eof_ = false;
    reportScroll();
}

bool ResultSet::locate(const QString& field, const QVariant& value) {
    requireOpen("locate");
    const int column = fieldIndex(field);
    if (column < 0)
        throw AppError(QStringLiteral("Feld '%1' nicht gefunden").arg(field));
    leaveEditing();
    fetchAll();
    for (int i = 0; i < rows_.size(); ++i) {
        if (sameValue(rows_[i].values[column], value)) {
            setCurrent(i);
            eof_ = false;
            reportScroll();
            return true;
        }
    }
    return false;
}

int ResultSet::fieldIndex(const QString& field) const {
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant ResultSet::value(const QString& field) const {
    requireCurrent("value");
    const int i = fieldIndex(field);
    if (i < 0)
        throw AppError(QStringLiteral("Feld '%1' nicht gefunden").arg(field));
    return rows_[current_].values[i];
}

bool ResultSet::isNull(const QString& field) const {
    const QVariant v = value(field);
    return v.isNull() || (v.metaType().id() == QMetaType::QString && v.toString().isEmpty());
}

qint64 ResultSet::asInteger(const QString& field) const {
    const QVariant v = value(field);
    if (v.isNull())
        return 0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? static_cast<qint64>(std::llround(d)) : 0;
}

double ResultSet::asFloat(const QString& field) const {
    const QVariant v = value(field);
    return v.isNull() ? 0.0 : v.toDouble();
}

QString ResultSet::asText(const QString& field) const {
    const QVariant v = value(field);
    return v.isNull() ? QString() : v.toString();
}

QDateTime ResultSet::asDateTime(const QString& field) const {
    return toDateTime(value(field));
}

QDateTime ResultSet::toDateTime(const QVariant& v) {
    if (v.isNull())
        return {};
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate().startOfDay();
    QString text = v.toString().trimmed();
    if (text.size() == 10) {
        const QDate d = QDate::fromString(text, Qt::ISODate);
        return d.isValid() ? d.startOfDay() : QDateTime();
    }
    text.replace(QLatin1Char(' '), QLatin1Char('T'));
    return QDateTime::fromString(text, Qt::ISODate);
}

void ResultSet::insert() {
    requireOpen("insert");
    leaveEditing();
    fetchAll(); // the whole result is known before it changes
    const int at = current_ < 0 ? 0 : current_;
    Row row;
    row.values.resize(fields_.size());
    row.old = row.values;
    computeFields(row);
    rows_.insert(at, row);
    insertReturnRow_ = current_;
    state_ = State::Insert;
    emit rowInserted(at);
    setCurrent(at);
    eof_ = false;
    reportScroll();
}

void ResultSet::edit() {
    requireCurrent("edit");
    if (state_ == State::Browse)
        state_ = State::Edit;
}

void ResultSet::setValue(const QString& field, const QVariant& value) {
    if (state_ != State::Insert && state_ != State::Edit)
        throw AppError(QStringLiteral("%1: Datensatz nicht im Bearbeitungsmodus").arg(name_));
    const int i = fieldIndex(field);
    if (i < 0 || i >= storedFields_)
        throw AppError(QStringLiteral("Feld '%1' nicht gefunden").arg(field));
    Row& row = rows_[current_];
    row.values[i] = value;
    computeFields(row);
    emit rowChanged(current_);
}

void ResultSet::post() {
    if (state_ == State::Insert) {
        Row& row = rows_[current_];
        QVariant id;
        runRowStatement(rowStatements_.insert, row, &id);
        const int idColumn = fieldIndex(QStringLiteral("ID"));
        if (idColumn >= 0 && idColumn < storedFields_ && id.isValid())
            row.values[idColumn] = id;
        row.old = row.values;
        computeFields(row);
        if (knownCount_)
            ++*knownCount_;
    } else if (state_ == State::Edit) {
        Row& row = rows_[current_];
        runRowStatement(rowStatements_.modify, row, nullptr);
        row.old = row.values;
    } else {
        return;
    }
    state_ = State::Browse;
    emit rowChanged(current_);
}

void ResultSet::cancel() {
    if (state_ == State::Insert) {
        const int at = current_;
        rows_.remove(at);
        state_ = State::Browse;
        emit rowRemoved(at);
        const int back = insertReturnRow_ < 0 ? (rows_.isEmpty() ? -1 : 0) : insertReturnRow_;
        setCurrent(std::min(back, static_cast<int>(rows_.size()) - 1));
        eof_ = rows_.isEmpty();
    } else if (state_ == State::Edit) {
        Row& row = rows_[current_];
        row.values = row.old;
        computeFields(row);
        state_ = State::Browse;
        emit rowChanged(current_);
    }
}

void ResultSet::remove() {
    requireCurrent("remove");
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (state_ == State::Edit)
        cancel();
    fetchAll();
    runRowStatement(rowStatements_.remove, rows_[current_], nullptr);
    const int at = current_;
    rows_.remove(at);
    if (knownCount_)
        --*knownCount_;
    emit rowRemoved(at);
    setCurrent(std::min(at, static_cast<int>(rows_.size()) - 1));
    eof_ = rows_.isEmpty();
    reportScroll();
}

void ResultSet::setCalcFields(const QStringList& names, CalcFields fill) {
    calcNames_ = names;
    calcFill_ = std::move(fill);
}

QVariant ResultSet::cell(int row, int column) const {
    if (row < 0 || row >= rows_.size() || column < 0 || column >= fields_.size())
        return {};
    return rows_[row].values[column];
}

void ResultSet::computeFields(Row& row) {
    if (!calcFill_ || calcNames_.isEmpty())
        return;
    CalcRow access(*this, row.values);
    calcFill_(access);
}

void ResultSet::setCurrent(int row) {
    if (row == current_)
        return;
    current_ = row;
    emit currentRowChanged(row);
}

void ResultSet::reportScroll() {
    if (afterScroll_ && afterScrollAttached_)
        afterScroll_();
}

void ResultSet::leaveEditing() {
    // Moving away from a row being edited or inserted writes it first.
    if (state_ == State::Insert || state_ == State::Edit)
        post();
}

void ResultSet::runRowStatement(const QStringList& lines, const Row& row, QVariant* insertedId) {
    if (lines.isEmpty())
        throw AppError(QStringLiteral("%1: keine Anweisung zum Schreiben").arg(name_));
    const QString text = lines.join(QLatin1Char('\n'));
    static const QRegularExpression parameter(QStringLiteral(":([A-Za-z_]\\w*)"));

    db_.prepareWrite();
    QSqlQuery q(db_.connection());
    if (!q.prepare(text))
        throw AppError(Database::errorText(q.lastError()));
    QSet<QString> bound;
    for (auto it = parameter.globalMatch(text); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (bound.contains(name))
            continue;
        bound.insert(name);
        const bool old = name.startsWith(QStringLiteral("OLD_"), Qt::CaseInsensitive);
        const int column = fieldIndex(old ? name.mid(4) : name);
        QVariant v;
        if (column >= 0 && column < storedFields_)
            v = old ? row.old[column] : row.values[column];
        q.bindValue(QLatin1Char(':') + name, toEngine(v));
    }
    if (!q.exec())
        throw AppError(Database::errorText(q.lastError()));
    if (insertedId)
        *insertedId = q.lastInsertId();
}

void ResultSet::requireOpen(const char* operation) const {
    if (!isOpen())
        throw AppError(QStringLiteral("%1: Operation %2 bei geschlossener Datenmenge nicht möglich")
                           .arg(name_, QString::fromLatin1(operation)));
}

void ResultSet::requireCurrent(const char* operation) const {
    requireOpen(operation);
    if (current_ < 0 || current_ >= rows_.size())
        throw AppError(QStringLiteral("%1: kein aktueller Datensatz").arg(name_));
}
