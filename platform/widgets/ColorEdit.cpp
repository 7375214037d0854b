#include "platform/widgets/ColorEdit.h"

#include <QAction>
#include <QColorDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <array>

namespace widgets {

namespace {
ColorChooser& installedChooser() {
    static ColorChooser chooser;
    return chooser;
}

QColor askWithDialog(const QColor& current, QWidget* parent) {
    return QColorDialog::getColor(current, parent, ColorEdit::tr("Selecionar cor"));
}

struct NamedColor {
    QRgb rgb;
    const char* name;
};

constexpr std::array<NamedColor, 16> kNames{{
    {0x000000, "Preto"},    {0x800000, "Marrom"},   {0x008000, "Verde"},         {0x808000, "Oliva"},
    {0x000080, "Azul-marinho"}, {0x800080, "Roxo"}, {0x008080, "Azul-petróleo"}, {0x808080, "Cinza"},
    {0xC0C0C0, "Prata"},    {0xFF0000, "Vermelho"}, {0x00FF00, "Lima"},          {0xFFFF00, "Amarelo"},
    {0x0000FF, "Azul"},     {0xFF00FF, "Fúcsia"},   {0x00FFFF, "Água"},          {0xFFFFFF, "Branco"},
}};

QIcon swatchIcon(const QColor& color, bool enabled) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(enabled ? QColor(64, 64, 64) : QColor(160, 160, 160));
    p.setBrush(enabled ? color : QColor(color.red(), color.green(), color.blue(), 90));
    p.drawRect(1, 2, 13, 11);
    return QIcon(pixmap);
}

QIcon arrowIcon(const QWidget* widget) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    QStyleOption option;
    option.initFrom(widget);
    option.rect = QRect(3, 4, 10, 8);
    widget->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &p, widget);
    return QIcon(pixmap);
}
} // namespace

ColorChooser setColorChooser(ColorChooser chooser) {
    ColorChooser previous = std::move(installedChooser());
    installedChooser() = std::move(chooser);
    return previous;
}

ColorEdit::ColorEdit(QWidget* parent) : QWidget(parent) {
    edit_ = new QLineEdit(this);
    edit_->setReadOnly(true);
    edit_->setCursor(Qt::PointingHandCursor);
    edit_->installEventFilter(this);
    swatch_ = edit_->addAction(QIcon(), QLineEdit::LeadingPosition);
    drop_ = edit_->addAction(arrowIcon(this), QLineEdit::TrailingPosition);
    drop_->setToolTip(tr("Escolher cor"));
    connect(swatch_, &QAction::triggered, this, &ColorEdit::choose);
    connect(drop_, &QAction::triggered, this, &ColorEdit::choose);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit_);
    setFocusProxy(edit_);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    refresh();
}

void ColorEdit::setColor(const QColor& color) {
    if (!color.isValid())
        return;
    const QColor opaque(color.red(), color.green(), color.blue());
    if (opaque == color_)
        return;
    color_ = opaque;
    refresh();
    emit colorChanged(color_);
}

int ColorEdit::toColorRef(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QColor ColorEdit::fromColorRef(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QString ColorEdit::colorName(const QColor& color) {
    const QRgb rgb = color.rgb() & 0xFFFFFF;
    for (const NamedColor& named : kNames)
        if (named.rgb == rgb)
            return QString::fromUtf8(named.name);
    return color.name(QColor::HexRgb).toUpper();
}

bool ColorEdit::choose() {
    if (!isEnabled())
        return false;
    const ColorChooser& chooser = installedChooser();
    const QColor chosen = chooser ? chooser(color_, this) : askWithDialog(color_, this);
    if (!chosen.isValid())
        return false;
    setColor(chosen);
    return true;
}

QSize ColorEdit::sizeHint() const {
    QSize size = edit_->sizeHint();
    size.setWidth(std::max(size.width(), fontMetrics().horizontalAdvance(QStringLiteral("Azul-petróleo")) + 64));
    return size;
}

bool ColorEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_) {
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && edit_->rect().contains(mouse->position().toPoint())) {
                choose();
                return true;
            }
        } else if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool opens = key->key() == Qt::Key_Space || key->key() == Qt::Key_F4 ||
                               (key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier));
            if (opens) {
                choose();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ColorEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        refresh();
    QWidget::changeEvent(event);
}

void ColorEdit::refresh() {
    swatch_->setIcon(swatchIcon(color_, isEnabled()));
    edit_->setText(colorName(color_));
    edit_->setToolTip(color_.name(QColor::HexRgb).toUpper());
}

} // namespace widgets
