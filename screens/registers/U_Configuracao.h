#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QGroupBox;
class QKeyEvent;
class QShowEvent;
class QToolButton;

namespace dataset { class DataSource; class DBEdit; class DBComboBox; class DBImage; }

// Company settings: the one company record (DMBanco->TB_Empresa) and the
// visual skin. A plain modal window, centred, destroyed when closed.
class TFrmConfiguracao : public QDialog {
    Q_OBJECT
public:
    explicit TFrmConfiguracao(QWidget* parent = nullptr);
    ~TFrmConfiguracao() override;

    QGroupBox* GBVisual;
    QComboBox* cbSkin;
    QGroupBox* GBEmpresa;
    dataset::DataSource* DS_Empresa;
    dataset::DBEdit* DBEdit1;   // EMP_NOME
    dataset::DBEdit* DBEdit2;   // EMP_ENDERECO
    dataset::DBEdit* DBEdit3;   // EMP_BAIRRO
    dataset::DBEdit* DBEdit4;   // EMP_CIDADE
    dataset::DBComboBox* DBComboBox6;  // EMP_UF
    dataset::DBEdit* DBEdit6;   // EMP_CNPJ
    dataset::DBEdit* DBEdit7;   // EMP_INSCRICAO
    dataset::DBEdit* DBEdit8;   // EMP_FONE
    dataset::DBEdit* DBEdit9;   // EMP_FAX
    dataset::DBEdit* DBEdit10;  // EMP_RAZAOSOCIAL
    dataset::DBEdit* DBEdit11;  // EMP_EMAIL
    dataset::DBEdit* DBEdit12;  // EMP_CEP
    QGroupBox* GBLogotipo;
    dataset::DBImage* DBImage2; // EMP_PATHLOGO
    QToolButton* SpeedButton4;  // "Adicionar Logotipo"
    QToolButton* SpeedButton1;  // "Gravar"
    QToolButton* SpeedButton3;  // "Fechar"

    // The skin value in effect: Skin.ini's [Skin] Skin (empty when the key is
    // missing), or "Nenhum" when there is no Skin.ini.
    static QString SkinAtual();
    // Writes [Skin] Skin=valor into Skin.ini, keeping its other lines.
    static void GravarSkin(const QString& valor);

    void SpeedButton4Click();  // picks the logo
    void SpeedButton1Click();  // saves: skin, Skin.ini, company row, commit, close
    void SpeedButton3Click();  // closes without saving

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void FormShow();
    bool shown_ = false;
};
