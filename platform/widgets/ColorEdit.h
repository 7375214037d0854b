#pragma once

#include <QColor>
#include <QWidget>

#include <functional>

class QLineEdit;
class QAction;

namespace widgets {

// Asks the user for a colour, starting at the current one; an invalid colour
// means the user cancelled.
using ColorChooser = std::function<QColor(const QColor& current, QWidget* parent)>;

// Installs the chooser that every ColorEdit uses (an empty one restores the
// colour dialog) and returns the previous one. Tests answer through it.
ColorChooser setColorChooser(ColorChooser chooser);

// An edit box showing a colour swatch and the colour's name; a click, Space,
// F4 or Alt+Down opens the colour chooser. Black at start.
class ColorEdit : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged USER true)
public:
    explicit ColorEdit(QWidget* parent = nullptr);

    QColor color() const { return color_; }
    // An invalid colour is ignored.
    void setColor(const QColor& color);

    // The colour as the reports store it: 0x00BBGGRR (red in the low byte).
    int colorRef() const { return toColorRef(color_); }
    void setColorRef(int value) { setColor(fromColorRef(value)); }

    static int toColorRef(const QColor& color);
    static QColor fromColorRef(int value);
    // Portuguese name of the sixteen basic colours, "#RRGGBB" for the others.
    static QString colorName(const QColor& color);

    // Opens the chooser; true when a colour was chosen.
    bool choose();

    QSize sizeHint() const override;

signals:
    void colorChanged(const QColor& color);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refresh();

    QColor color_ = Qt::black;
    QLineEdit* edit_ = nullptr;
    QAction* swatch_ = nullptr;
    QAction* drop_ = nullptr;
};

} // namespace widgets
