#include "support/TempDatabase.h"

#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/report/DataSetPipeline.h"
#include "platform/report/Report.h"
#include "platform/report/TextWriter.h"

#include <QFile>
#include <QTest>

using testsupport::TempDatabase;

// Reports over datasets: stations as master, their programs as detail.
class TstReportDataset : public QObject {
    Q_OBJECT
private slots:
    void masterDetailReportOverQueries();
};

void TstReportDataset::masterDetailReportOverQueries() {
    TempDatabase db;
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, 'Rádio Alvorada')");
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (2, 'TV Sem Programas')");
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (3, 'Rádio Cidade')");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (1, 'Jornal da Manhã', 1)");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (2, 'Esporte Total', 1)");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (3, 'Música & Notícia', 3)");

    dataset::Query emissoras;
    emissoras.SetTransaction(&db.transaction());
    emissoras.SQL.Add("select EMI_CODIGO, EMI_NOME from TB_EMISSORAS order by EMI_CODIGO");
    dataset::DataSource dsEmissoras;
    dsEmissoras.SetDataSet(&emissoras);
    dataset::Query programas;
    programas.SetTransaction(&db.transaction());
    programas.SQL.Add("select PRG_NOME, EMI_CODIGO from TB_PROGRAMAS where EMI_CODIGO = :EMI_CODIGO order by PRG_NOME");
    programas.SetDataSource(&dsEmissoras);
    emissoras.Open();
    programas.Open();

    report::DataSetPipeline master("Emissoras", &emissoras);
    report::DataSetPipeline detail("Programas", &programas);
    detail.setMaster(&master);
    QCOMPARE(master.fieldNames(), (QStringList{"EMI_CODIGO", "EMI_NOME"}));
    QCOMPARE(master.value("emi_nome").toString(), QStringLiteral("Rádio Alvorada"));

    report::Report r;
    r.addPipeline(&master);
    r.addPipeline(&detail);
    r.mainPipeline = "Programas";
    auto& g = r.addGroup("Emissoras", "EMI_NOME");
    auto& header = g.header.add<report::DBText>(QRectF(0, 0, 120, 6));
    header.pipeline = "Emissoras";
    header.field = "EMI_NOME";
    g.header.height = 6;
    auto& line = r.detail.add<report::DBText>(QRectF(10, 0, 120, 6));
    line.field = "PRG_NOME";
    r.detail.height = 6;

    QTemporaryDir dir;
    const QString file = dir.filePath("programas.txt");
    report::TextOptions options;
    options.windows1252 = false;
    report::writeText(r, file, options);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QStringList lines;
    for (const QString& l : QString::fromUtf8(f.readAll()).split("\r\n"))
        if (!l.trimmed().isEmpty())
            lines << l.trimmed();
    QCOMPARE(lines, (QStringList{"Rádio Alvorada", "Esporte Total", "Jornal da Manhã", "Rádio Cidade",
                                 "Música & Notícia"}));
}

QTEST_MAIN(TstReportDataset)
#include "tst_report_dataset.moc"
