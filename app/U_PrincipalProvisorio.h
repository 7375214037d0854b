#pragma once

#include <QMainWindow>

class QMdiArea;

// The frame of the run until the full main window takes its place: the
// title, the MDI area in which the launcher opens the screens, and the
// creation step (error handler, formats, launcher reference).
class TFrmPrincipalProvisorio : public QMainWindow {
    Q_OBJECT
public:
    explicit TFrmPrincipalProvisorio(QWidget* parent = nullptr);

    QMdiArea* MDIArea;
};
