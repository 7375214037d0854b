#include "platform/widgets/ColorEdit.h"
#include "platform/widgets/FolderTree.h"

#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace widgets;

namespace {
// Answers the colour chooser for one test and counts the questions.
struct ScriptedChooser {
    explicit ScriptedChooser(QColor answer) : answer(answer) {
        previous = setColorChooser([this](const QColor& current, QWidget*) {
            asked << current;
            return this->answer;
        });
    }
    ~ScriptedChooser() { setColorChooser(std::move(previous)); }
    QColor answer;
    QList<QColor> asked;
    ColorChooser previous;
};

QStringList childNames(const QFileSystemModel* model, const QModelIndex& parent) {
    QStringList names;
    for (int row = 0; row < model->rowCount(parent); ++row)
        names << model->fileName(model->index(row, 0, parent));
    names.sort();
    return names;
}
} // namespace

class TstWidgets : public QObject {
    Q_OBJECT
private slots:
    void colorConversions_data();
    void colorConversions();
    void colorEditStartsBlack();
    void colorEditAsksAndKeepsOnCancel();
    void colorEditOpensFromKeys_data();
    void colorEditOpensFromKeys();
    void colorEditDisabledDoesNotAsk();

    void folderPath_data();
    void folderPath();
    void folderTreeListsFoldersOnly();
    void folderTreeSelectsAndChooses();
    void folderTreeRootAndNothingSelected();
    void folderTreeRefreshSeesNewFolders();
};

void TstWidgets::colorConversions_data() {
    QTest::addColumn<QColor>("color");
    QTest::addColumn<int>("ref");
    QTest::addColumn<QString>("name");
    QTest::newRow("black") << QColor(0, 0, 0) << 0 << "Preto";
    QTest::newRow("red") << QColor(255, 0, 0) << 0x0000FF << "Vermelho";
    QTest::newRow("blue") << QColor(0, 0, 255) << 0xFF0000 << "Azul";
    QTest::newRow("navy") << QColor(0, 0, 128) << 0x800000 << "Azul-marinho";
    QTest::newRow("teal") << QColor(0, 128, 128) << 0x808000 << "Azul-petróleo";
    QTest::newRow("white") << QColor(255, 255, 255) << 0xFFFFFF << "Branco";
    QTest::newRow("other") << QColor(0x12, 0x34, 0x56) << 0x563412 << "#123456";
}

void TstWidgets::colorConversions() {
    QFETCH(QColor, color);
    QFETCH(int, ref);
    QFETCH(QString, name);
    QCOMPARE(ColorEdit::toColorRef(color), ref);
    QCOMPARE(ColorEdit::fromColorRef(ref), color);
    QCOMPARE(ColorEdit::colorName(color), name);
    ColorEdit edit;
    edit.setColorRef(ref);
    QCOMPARE(edit.color(), color);
    QCOMPARE(edit.findChild<QLineEdit*>()->text(), name);
}

void TstWidgets::colorEditStartsBlack() {
    ColorEdit edit;
    QCOMPARE(edit.color(), QColor(Qt::black));
    QCOMPARE(edit.colorRef(), 0);
    QSignalSpy changed(&edit, &ColorEdit::colorChanged);
    edit.setColor(QColor());  // invalid: ignored
    edit.setColor(Qt::black); // same: no signal
    QCOMPARE(changed.count(), 0);
    QCOMPARE(edit.color(), QColor(Qt::black));
    // A colour with transparency is kept opaque: reports print solid ink.
    edit.setColor(QColor(10, 20, 30, 40));
    QCOMPARE(edit.color(), QColor(10, 20, 30));
    QCOMPARE(changed.count(), 1);
}

void TstWidgets::colorEditAsksAndKeepsOnCancel() {
    ColorEdit edit;
    edit.show();
    QSignalSpy changed(&edit, &ColorEdit::colorChanged);
    {
        ScriptedChooser chooser(QColor(0, 128, 0));
        QTest::mouseClick(edit.findChild<QLineEdit*>(), Qt::LeftButton);
        QCOMPARE(chooser.asked, (QList<QColor>{QColor(Qt::black)}));
    }
    QCOMPARE(edit.color(), QColor(0, 128, 0));
    QCOMPARE(edit.colorRef(), 0x008000);
    QCOMPARE(edit.findChild<QLineEdit*>()->text(), QString("Verde"));
    QCOMPARE(changed.count(), 1);
    {
        ScriptedChooser cancel{QColor()};
        QVERIFY(!edit.choose());
        QCOMPARE(cancel.asked, (QList<QColor>{QColor(0, 128, 0)}));
    }
    QCOMPARE(edit.color(), QColor(0, 128, 0));
    QCOMPARE(changed.count(), 1);
}

void TstWidgets::colorEditOpensFromKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("opens");
    QTest::newRow("space") << int(Qt::Key_Space) << int(Qt::NoModifier) << true;
    QTest::newRow("F4") << int(Qt::Key_F4) << int(Qt::NoModifier) << true;
    QTest::newRow("Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier) << true;
    QTest::newRow("Down") << int(Qt::Key_Down) << int(Qt::NoModifier) << false;
    QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier) << false;
}

void TstWidgets::colorEditOpensFromKeys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, opens);
    ColorEdit edit;
    edit.show();
    ScriptedChooser chooser(QColor(255, 0, 0));
    QTest::keyClick(edit.findChild<QLineEdit*>(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(chooser.asked.size(), opens ? 1 : 0);
    QCOMPARE(edit.color(), opens ? QColor(255, 0, 0) : QColor(Qt::black));
    // Typing never changes the name shown.
    QCOMPARE(edit.findChild<QLineEdit*>()->text(), opens ? QString("Vermelho") : QString("Preto"));
}

void TstWidgets::colorEditDisabledDoesNotAsk() {
    ColorEdit edit;
    edit.setEnabled(false);
    edit.show();
    ScriptedChooser chooser(QColor(255, 0, 0));
    QVERIFY(!edit.choose());
    QTest::mouseClick(edit.findChild<QLineEdit*>(), Qt::LeftButton);
    QVERIFY(chooser.asked.isEmpty());
    QCOMPARE(edit.color(), QColor(Qt::black));
}

void TstWidgets::folderPath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("root") << "/" << "/";
    QTest::newRow("doubled root") << "//" << "/";
    QTest::newRow("trailing") << "/gravacoes/radio/" << "/gravacoes/radio";
    QTest::newRow("plain") << "/gravacoes/radio" << "/gravacoes/radio";
    QTest::newRow("dots") << "/gravacoes/./tv/../radio" << "/gravacoes/radio";
    QTest::newRow("spaces and accents") << "/Gravações/Rádio FM/" << "/Gravações/Rádio FM";
    QTest::newRow("empty") << "" << "";
}

void TstWidgets::folderPath() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(FolderTree::folderPath(path), QDir::toNativeSeparators(expected));
}

void TstWidgets::folderTreeListsFoldersOnly() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("Radio/Manha"));
    QVERIFY(QDir(dir.path()).mkpath("TV"));
    QVERIFY(QDir(dir.path()).mkpath(".oculta"));
    QFile file(dir.filePath("0503081400a0503081500.mp3"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    FolderTree tree;
    tree.show();
    QFileSystemModel* model = tree.fileSystemModel();
    QVERIFY(tree.setSelectedPath(dir.path()));
    const QModelIndex top = model->index(dir.path());
    tree.expand(top);
    QTRY_COMPARE(childNames(model, top), (QStringList{"Radio", "TV"}));
    QVERIFY(tree.isHeaderHidden());
    for (int column = 1; column < model->columnCount(); ++column)
        QVERIFY(tree.isColumnHidden(column));
}

void TstWidgets::folderTreeSelectsAndChooses() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("Radio/Manha"));
    FolderTree tree;
    tree.resize(400, 600);
    tree.show();
    QSignalSpy chosen(&tree, &FolderTree::folderChosen);

    const QString manha = dir.filePath("Radio/Manha");
    QVERIFY(tree.setSelectedPath(manha + "/"));
    QCOMPARE(tree.selectedPath(), QDir::toNativeSeparators(manha));

    // A right-click on another folder selects it.
    const QModelIndex radio = tree.fileSystemModel()->index(dir.filePath("Radio"));
    tree.scrollTo(radio);
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, tree.visualRect(radio).center());
    QCOMPARE(tree.selectedPath(), QDir::toNativeSeparators(dir.filePath("Radio")));

    // A double-click chooses the folder under the mouse and does not fold it.
    const QModelIndex manhaIndex = tree.fileSystemModel()->index(manha);
    tree.scrollTo(manhaIndex);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(manhaIndex).center());
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.first().first().toString(), QDir::toNativeSeparators(manha));
    QVERIFY(tree.isExpanded(radio));

    QVERIFY(!tree.setSelectedPath(dir.filePath("nao-existe")));
    QCOMPARE(tree.selectedPath(), QString());
}

void TstWidgets::folderTreeRootAndNothingSelected() {
    FolderTree tree;
    tree.resize(300, 300);
    tree.show();
    QSignalSpy chosen(&tree, &FolderTree::folderChosen);

    // Nothing selected: a double-click on the empty area chooses nothing.
    QVERIFY(tree.selectedPath().isEmpty());
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, QPoint(150, 295));
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.first().first().toString(), QString());

    QVERIFY(tree.setSelectedPath(QDir::rootPath()));
    QCOMPARE(tree.selectedPath(), QDir::toNativeSeparators(QDir::rootPath()));
    const QModelIndex root = tree.fileSystemModel()->index(QDir::rootPath());
    QVERIFY(tree.isExpanded(root));
    QVERIFY(!tree.rootIsDecorated());
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(root).center());
    QCOMPARE(chosen.count(), 2);
    QCOMPARE(chosen.last().first().toString(), QDir::toNativeSeparators(QDir::rootPath()));
}

void TstWidgets::folderTreeRefreshSeesNewFolders() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("Radio"));
    FolderTree tree;
    tree.show();
    QVERIFY(tree.setSelectedPath(dir.filePath("Radio")));
    QTRY_COMPARE(childNames(tree.fileSystemModel(), tree.fileSystemModel()->index(dir.path())),
                 QStringList{"Radio"});
    QVERIFY(QDir(dir.path()).mkpath("TV"));
    QTest::keyClick(&tree, Qt::Key_F5);
    QTRY_COMPARE(childNames(tree.fileSystemModel(), tree.fileSystemModel()->index(dir.path())),
                 (QStringList{"Radio", "TV"}));
    QCOMPARE(tree.selectedPath(), QDir::toNativeSeparators(dir.filePath("Radio")));
}

QTEST_MAIN(TstWidgets)
#include "tst_widgets.moc"
