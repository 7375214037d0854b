#include "platform/widgets/FolderTree.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace widgets {

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setExpandsOnDoubleClick(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    installModel();
}

void FolderTree::installModel() {
    QFileSystemModel* old = model_;
    model_ = new QFileSystemModel(this);
    model_->setOption(QFileSystemModel::DontWatchForChanges);
    model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    model_->setReadOnly(true);
    model_->setRootPath(QDir::rootPath());
    setModel(model_);
    // Rows arrive after a selection made in code: keep it in view until the
    // user moves in the tree.
    const auto keepInView = [this] {
        if (scrollPending_ && currentIndex().isValid())
            scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
    };
    connect(model_, &QFileSystemModel::rowsInserted, this, keepInView, Qt::QueuedConnection);
    connect(model_, &QFileSystemModel::layoutChanged, this, keepInView, Qt::QueuedConnection);
    for (int column = 1; column < model_->columnCount(); ++column)
        hideColumn(column);
    delete old;
    // The root (or the drives) stays open: its line has no toggle of its own.
    for (int row = 0; row < model_->rowCount(); ++row)
        expand(model_->index(row, 0));
}

QString FolderTree::folderPath(const QString& path) {
    if (path.isEmpty())
        return {};
    return QDir::toNativeSeparators(QDir::cleanPath(QDir::fromNativeSeparators(path)));
}

QString FolderTree::selectedPath() const {
    const QModelIndexList rows = selectionModel()->selectedRows(0);
    if (rows.isEmpty())
        return {};
    return folderPath(model_->filePath(rows.first()));
}

bool FolderTree::setSelectedPath(const QString& path) {
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(path));
    const QModelIndex index = path.isEmpty() || !QFileInfo(clean).isDir() ? QModelIndex() : model_->index(clean);
    if (!index.isValid()) {
        selectionModel()->clearSelection();
        setCurrentIndex(QModelIndex());
        return false;
    }
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        expand(up);
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
    scrollPending_ = true;
    return true;
}

void FolderTree::refresh() {
    const QString selected = selectedPath();
    installModel();
    if (!selected.isEmpty())
        setSelectedPath(selected);
}

void FolderTree::mousePressEvent(QMouseEvent* event) {
    scrollPending_ = false;
    if (event->button() == Qt::RightButton) {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid())
            setCurrentIndex(index);
    }
    QTreeView::mousePressEvent(event);
}

void FolderTree::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QTreeView::mouseDoubleClickEvent(event);
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        setCurrentIndex(index);
    event->accept();
    emit folderChosen(selectedPath());
}

void FolderTree::keyPressEvent(QKeyEvent* event) {
    scrollPending_ = false;
    if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier) {
        refresh();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void FolderTree::wheelEvent(QWheelEvent* event) {
    scrollPending_ = false;
    QTreeView::wheelEvent(event);
}

void FolderTree::showEvent(QShowEvent* event) {
    QTreeView::showEvent(event);
    // A folder selected before the tree was laid out is brought into view now.
    if (currentIndex().isValid())
        scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
}

} // namespace widgets
