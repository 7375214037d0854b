#pragma once

#include <QObject>
#include <QString>

namespace skin {

// The skinning component: a skin file ("<name>.skn") is a Qt style sheet
// applied to the whole application, so every open window and every window
// opened later takes it at once. Deactivating restores the standard look.
// A missing or unreadable skin file gives the standard look, with no error.
class SkinData : public QObject {
    Q_OBJECT
public:
    explicit SkinData(QObject* parent = nullptr);
    ~SkinData() override;

    // The skin file; when no file has exactly this name, a file of the same
    // folder whose name differs only in case is used.
    void setSkinFile(const QString& path);
    const QString& skinFile() const { return file_; }

    bool active() const { return active_; }
    // Applies the skin file (re-reading it when already active).
    void activate();
    void deactivate();

    // The style sheet that was applied; empty for the standard look.
    const QString& styleSheet() const { return sheet_; }

    // The existing file for path, matched case-insensitively in its folder;
    // empty when there is none.
    static QString resolve(const QString& path);

signals:
    void changed();

private:
    void apply(const QString& sheet);

    QString file_;
    QString sheet_;
    bool active_ = false;
};

} // namespace skin
