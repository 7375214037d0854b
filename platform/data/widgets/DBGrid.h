#pragma once

#include "platform/data/GridModel.h"

#include <QPointer>
#include <QTableView>
#include <functional>

namespace dataset {

// Grid over a data source: one row per buffered row, read on demand from
// the cursor. The current row and the dataset's cursor are the same thing.
// A column can be drawn by the screen (OnDrawColumnCell); while the
// handler runs, the dataset's fields read the row being drawn.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);
    ~DBGrid() override;

    void SetDataSource(DataSource* source);
    DataSource* GetDataSource() const { return model_->GetDataSource(); }
    void SetColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& Columns() const { return model_->Columns(); }
    DataSetModel* Model() const { return model_; }
    // Whole-row selection (the grid never edits cells itself).
    void SetRowSelect(bool on);
    bool DefaultDrawing = true;

    std::function<void(DBGrid&, int column)> OnTitleClick;
    std::function<void(DBGrid&, int column)> OnCellClick;
    std::function<void(DBGrid&)> OnDblClick;
    // painter, cell rectangle, column index, the column's field, selected
    std::function<void(QPainter&, const QRect&, int, Field*, bool)> OnDrawColumnCell;

    QRect CellRect(int row, int column) const { return visualRect(model_->index(row, column)); }

protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void syncFromDataSet(int row);
    void applyColumnWidths();
    DataSetModel* model_;
    bool syncing_ = false;
};

} // namespace dataset
