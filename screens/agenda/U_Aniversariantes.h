#pragma once

#include <QDialog>

class QPushButton;
class QTableView;

namespace dataset { class DataSetModel; class DataSource; }

// The birthdays of the day: TDM::Q_Aniversariantes (opened by the caller)
// in a grid, always on top, centred.
class TFrmAniversariantes : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAniversariantes(QWidget* parent = nullptr);

    dataset::DataSource* DS_Aniversariantes;
    QTableView* DBGrid1;
    QPushButton* BFechar;

protected:
    void showEvent(QShowEvent* e) override;

private:
    dataset::DataSetModel* modelo_;
};
