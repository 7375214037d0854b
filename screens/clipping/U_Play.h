#pragma once

#include <QDialog>
#include <functional>

class QFrame;
class QPushButton;

namespace media { class Player; }

// The player window: borderless, centred, the player control above a close
// button.
class TFrmPlay : public QDialog {
    Q_OBJECT
public:
    explicit TFrmPlay(QWidget* parent = nullptr);
    ~TFrmPlay() override;

    // Runs once, on the next player window made, at the end of its creation
    // (before it is shown): the screen that opens it gives it the file there.
    static void AoCriarProximo(std::function<void(TFrmPlay&)> preparar);

    void setVisible(bool visible) override;

    QFrame* PTocar;
    media::Player* WMP;
    QPushButton* BFechar;
};
