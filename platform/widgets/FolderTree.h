#pragma once

#include <QTreeView>

class QFileSystemModel;

namespace widgets {

// A tree of the file system's folders (no files), from the root down, with
// the system's folder icons. A right-click selects as well; a double-click
// chooses the selected folder. The tree reads each folder when it is first
// opened and does not follow later changes until refresh() (also F5).
class FolderTree : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTree(QWidget* parent = nullptr);

    // Full path of the selected folder: "/" for the root, any other folder
    // without a trailing separator; empty when no folder is selected.
    QString selectedPath() const;
    // Opens the tree down to the folder and selects it; false when the folder
    // does not exist (the selection is then cleared).
    bool setSelectedPath(const QString& path);

    // Reads the folders again, keeping the selection.
    void refresh();

    // A folder path in the form selectedPath() gives.
    static QString folderPath(const QString& path);

    QFileSystemModel* fileSystemModel() const { return model_; }

signals:
    // A double-click chose this folder (empty when none was selected).
    void folderChosen(const QString& path);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void installModel();

    QFileSystemModel* model_ = nullptr;
    bool scrollPending_ = false;
};

} // namespace widgets
