// The display for the athlete: name, last value, best, bars and the time left.

#include "ui/run/AthleteDisplay.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QColor kBackground(16, 16, 24);
const QColor kText(240, 240, 240);
const QColor kBar(32, 159, 223);
const QColor kBestBar(230, 120, 0);

// A label in the display's colours whose text a screen reader reads; `role` tells what it is.
QLabel* displayLabel(const QString& name, const QString& role, double pointScale, bool bold,
                     QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAccessibleDescription(role);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * pointScale);
    f.setBold(bold);
    label->setFont(f);
    return label;
}

} // namespace

SeriesBars::SeriesBars(const AthleteBoard& board, QWidget* parent)
    : QWidget(parent), board_(board) {
    setObjectName(QStringLiteral("displayBars"));
    setMinimumHeight(80);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void SeriesBars::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const analysis::RunningSeries& series = board_.series();
    const int places = std::max(series.size(), 10);
    const auto range = series.range(board_.value());
    if (!range || range->high <= 0)
        return;
    const double top = range->high * 1.1;
    const double slot = static_cast<double>(width()) / places;
    const double gap = slot > 6 ? slot * 0.2 : 0;
    const auto best = series.bestPlace(board_.value());
    for (int i = 0; i < series.size(); ++i) {
        const auto value = analysis::RunningSeries::valueOf(series.places()[i], board_.value());
        if (!value || *value <= 0)
            continue;
        const double h = *value / top * height();
        painter.fillRect(QRectF(i * slot + gap / 2, height() - h, std::max(1.0, slot - gap), h),
                         best == i ? kBestBar : kBar);
    }
}

AthleteDisplay::AthleteDisplay(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("athleteDisplay"));
    setWindowTitle(tr("Anzeige für Sportler"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBackground);
    pal.setColor(QPalette::WindowText, kText);
    setPalette(pal);

    nameLabel_ = displayLabel(QStringLiteral("displayNameLabel"), tr("Sportler"), 3, true, this);
    valueLabel_ =
        displayLabel(QStringLiteral("displayValueLabel"), tr("Letzter Sprung"), 1, true, this);
    valueLabel_->setAlignment(Qt::AlignCenter);
    // The value takes what room there is; its type follows the room, not the other way.
    valueLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    valueLabel_->setMinimumSize(120, 60);
    unitLabel_ = displayLabel(QStringLiteral("displayUnitLabel"), tr("Einheit"), 3, false, this);
    bestLabel_ = displayLabel(QStringLiteral("displayBestLabel"), tr("Bester Wert der Serie"), 3,
                              true, this);
    countdownLabel_ = displayLabel(QStringLiteral("displayCountdownLabel"), tr("Verbleibende Zeit"),
                                   4, true, this);
    countdownLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bars_ = new SeriesBars(board_, this);
    bars_->setAccessibleName(tr("Balken der Sprünge"));

    valueChoice_ = new QComboBox(this);
    valueChoice_->setObjectName(QStringLiteral("displayValueChoice"));
    valueChoice_->addItem(tr("Höhe"), static_cast<int>(analysis::SeriesValue::Height));
    valueChoice_->addItem(tr("RSI"), static_cast<int>(analysis::SeriesValue::Rsi));
    auto* valueChoiceLabel = new QLabel(tr("&Anzeige:"), this);
    valueChoiceLabel->setObjectName(QStringLiteral("displayValueChoiceLabel"));
    valueChoiceLabel->setBuddy(valueChoice_);
    soundChoice_ = new QCheckBox(tr("&Ton bei jedem Sprung"), this);
    soundChoice_->setObjectName(QStringLiteral("displaySoundChoice"));
    soundChoice_->setChecked(true);
    if (!sound_.available())
        soundChoice_->setToolTip(tr("Dieser Rechner hat keine Tonausgabe."));
    for (QWidget* w :
         {static_cast<QWidget*>(valueChoiceLabel), static_cast<QWidget*>(soundChoice_)})
        w->setPalette(pal);

    auto* top = new QHBoxLayout;
    top->addWidget(nameLabel_, 1);
    top->addWidget(countdownLabel_);
    auto* value = new QHBoxLayout;
    value->addWidget(valueLabel_, 1);
    value->addWidget(unitLabel_, 0, Qt::AlignBottom);
    auto* choices = new QHBoxLayout;
    choices->addWidget(bestLabel_, 1);
    choices->addWidget(valueChoiceLabel);
    choices->addWidget(valueChoice_);
    choices->addWidget(soundChoice_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addLayout(top);
    layout->addLayout(value, 5);
    layout->addLayout(choices);
    layout->addWidget(bars_, 2);

    clock_ = new QTimer(this);
    clock_->setInterval(200);
    connect(clock_, &QTimer::timeout, this, &AthleteDisplay::showCountdown);
    connect(valueChoice_, &QComboBox::activated, this, [this] {
        setValue(static_cast<analysis::SeriesValue>(valueChoice_->currentData().toInt()));
        emit valueChosen(board_.value());
    });
    connect(soundChoice_, &QCheckBox::toggled, this, [this](bool on) {
        sound_.setOn(on);
        emit soundChosen(on);
    });
    resize(960, 600);
    showBoard();
}

void AthleteDisplay::runBegan(const QString& athleteName, std::optional<int> timedSeconds) {
    board_.start(athleteName, timedSeconds);
    if (board_.timed())
        clock_->start();
    else
        clock_->stop();
    showBoard();
}

void AthleteDisplay::addPlace(const analysis::RunningSeries::Place& place, bool quietly) {
    board_.add(place);
    if (place && !quietly)
        sound_.jumpStored();
    showBoard();
}

void AthleteDisplay::runEnded(bool series) {
    clock_->stop();
    showCountdown();
    if (series)
        sound_.seriesEnded();
}

void AthleteDisplay::clearRun() {
    clock_->stop();
    board_.clear();
    showBoard();
}

void AthleteDisplay::setValue(analysis::SeriesValue value) {
    board_.setValue(value);
    valueChoice_->setCurrentIndex(valueChoice_->findData(static_cast<int>(value)));
    showBoard();
}

void AthleteDisplay::setSoundOn(bool on) {
    soundChoice_->setChecked(on);
    sound_.setOn(on);
}

void AthleteDisplay::present() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    QScreen* own = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    QScreen* other = nullptr;
    for (QScreen* s : screens)
        if (s != own)
            other = s;
    if (other) {
        setScreen(other);
        setGeometry(other->geometry());
        showFullScreen();
    } else {
        show();
    }
    raise();
}

QString AthleteDisplay::nameText() const {
    return nameLabel_->text();
}

QString AthleteDisplay::valueText() const {
    return valueLabel_->text();
}

QString AthleteDisplay::bestText() const {
    return bestLabel_->text();
}

QString AthleteDisplay::countdownText() const {
    return countdownLabel_->text();
}

void AthleteDisplay::showBoard() {
    nameLabel_->setText(board_.athleteName());
    valueLabel_->setText(board_.lastText());
    unitLabel_->setText(board_.unitText());
    const QString best = board_.bestText();
    bestLabel_->setText(best.isEmpty() ? QString()
                                       : tr("Bester: %1 %2").arg(best, board_.unitText()));
    showCountdown();
    fitValue();
    bars_->update();
}

void AthleteDisplay::showCountdown() {
    const QString text = board_.countdownText(
        millisecondsLeft_ && board_.timed() ? millisecondsLeft_() : std::nullopt);
    if (countdownLabel_->text() != text)
        countdownLabel_->setText(text);
}

void AthleteDisplay::fitValue() {
    // The widest value a jump can show sets the type, so that it does not jump from one
    // value to the next.
    const QString text =
        valueLabel_->text().size() > 5 ? valueLabel_->text() : QStringLiteral("88,88");
    const QRect room = valueLabel_->contentsRect();
    QFont f = valueLabel_->font();
    int low = 8;
    int high = std::max(low, room.height());
    while (low < high) {
        const int size = (low + high + 1) / 2;
        f.setPixelSize(size);
        const QFontMetrics metrics(f);
        if (metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height())
            low = size;
        else
            high = size - 1;
    }
    f.setPixelSize(low);
    if (f != valueLabel_->font())
        valueLabel_->setFont(f);
}

void AthleteDisplay::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitValue();
}

void AthleteDisplay::keyPressEvent(QKeyEvent* event) {
    // Escape and F11 close the display, full-screen or not.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F11) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
