#include "BenchData.h"

#include "platform/firebird/Attachment.h"
#include "platform/firebird/Statement.h"
#include "platform/firebird/Transaction.h"

#include <QDate>
#include <QFile>
#include <unistd.h>

namespace benchdata {

namespace {

const char* const kWho[] = {"Prefeito", "Governador", "Câmara Municipal", "Secretaria de Saúde",
                            "Polícia Militar", "Assembleia Legislativa", "Ministério Público",
                            "Sindicato dos Bancários", "Associação Comercial", "Universidade Federal",
                            "Vereador João Simões", "Deputada Conceição Araújo", "Defesa Civil",
                            "Companhia de Saneamento", "Tribunal de Justiça"};
const char* const kDoes[] = {"anuncia", "discute", "critica", "aprova", "investiga", "lança",
                             "suspende", "comenta", "questiona", "defende", "adia", "prorroga"};
const char* const kWhat[] = {"reajuste da tarifa de ônibus", "obras na avenida João Gualberto",
                             "campanha de vacinação contra a gripe", "orçamento de 2008",
                             "eleição para o conselho tutelar", "greve dos professores",
                             "licitação da coleta de lixo", "segurança nas escolas estaduais",
                             "preço da gasolina nos postos", "enchentes na região metropolitana",
                             "reunião sobre o plano diretor", "construção do hospital regional",
                             "programa de habitação popular", "concessão das rodovias",
                             "ação contra a poluição do rio Iguaçu", "festival de inverno de Antonina"};
const char* const kWhen[] = {"em entrevista ao vivo", "durante coletiva de imprensa", "após reunião com líderes",
                             "na sessão de terça-feira", "em nota oficial", "no programa da manhã", "", ""};

const char* const kStations[] = {"Rádio Educadora", "TV Paraná", "Rádio Clube Paranaense", "Rádio Difusora",
                                 "TV Iguaçu", "Rádio Banda B", "Rádio Cultura", "TV Educativa",
                                 "Rádio Colombo", "Rádio Independência"};
const char* const kPrograms[] = {"Jornal da Manhã", "Café com Notícias", "Ronda Policial", "Esporte Total",
                                 "Debate Popular", "Show da Tarde", "Conexão Cidade", "Notícias da Região",
                                 "Balanço Geral", "Tribuna Livre", "Opinião Pública", "Revista Semanal"};
const char* const kFirst[] = {"Ana", "João", "Luíza", "José", "Márcia", "Antônio", "Conceição", "Sérgio",
                              "Fátima", "Cláudio", "Letícia", "Vinícius", "Mônica", "André"};
const char* const kLast[] = {"Ferreira", "Simões", "Araújo", "Gonçalves", "Conceição", "Brandão", "Magalhães",
                             "Lopes", "Câmara", "Guimarães", "Patrício", "Assunção"};

QString s(const char* text) { return QString::fromUtf8(text); }

QString twoDigits(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

} // namespace

Sizes parseSizes(const QStringList& args, Sizes d) {
    for (int i = 0; i + 1 < args.size(); ++i) {
        const QString& a = args[i];
        bool ok = false;
        const int v = args[i + 1].toInt(&ok);
        if (!ok) continue;
        if (a == QLatin1String("--entries")) d.entries = v;
        else if (a == QLatin1String("--stations")) d.stations = v;
        else if (a == QLatin1String("--programs")) d.programsPerStation = v;
        else if (a == QLatin1String("--employees")) d.employees = v;
        else if (a == QLatin1String("--seed")) d.seed = std::uint32_t(v);
    }
    return d;
}

QString subject(Random& rng) {
    QString t = s(rng.pick(kWho)) + QLatin1Char(' ') + s(rng.pick(kDoes)) + QLatin1Char(' ') + s(rng.pick(kWhat));
    const QString when = s(rng.pick(kWhen));
    if (!when.isEmpty()) t += QLatin1Char(' ') + when;
    return t + QLatin1Char('.');
}

namespace {
QString quoted(const QString& text) {
    QString t = text;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}
} // namespace

int addEntries(fb::Attachment& att, const Sizes& sz, int firstEntry, int count) {
    Random rng(sz.seed ^ std::uint32_t(firstEntry * 2654435761u));
    fb::Transaction tra(att);
    const QDate start(2006, 1, 1);
    // Blocks of literal inserts: far fewer round trips than one per row.
    const int perBlock = 150;
    QString block;
    int inBlock = 0, sinceCommit = 0;
    auto flush = [&] {
        if (!inBlock) return;
        fb::Statement st(tra, QStringLiteral("execute block as begin\n") + block + QStringLiteral("end"));
        st.execute();
        block.clear();
        sinceCommit += inBlock;
        inBlock = 0;
        if (sinceCommit >= 20000) {
            tra.commitRetaining();
            sinceCommit = 0;
        }
    };
    for (int i = 0; i < count; ++i) {
        const int code = firstEntry + i;
        const int station = 1 + rng.below(sz.stations);
        const int program = (station - 1) * sz.programsPerStation + 1 + rng.below(sz.programsPerStation);
        const QDate day = start.addDays(rng.below(3 * 365));
        const int employee = 1 + rng.below(sz.employees);
        const QString hour = twoDigits(5 + rng.below(18)) + QLatin1Char(':') + twoDigits(rng.below(60)) +
                             QLatin1Char(':') + twoDigits(rng.below(60));
        const QString length = QStringLiteral("00:") + twoDigits(rng.below(10)) + QLatin1Char(':') + twoDigits(rng.below(60));
        const QString type = rng.below(4) ? QStringLiteral("A") : QStringLiteral("V");
        const QString tape = QStringLiteral("F%1").arg(100 + rng.below(9000));
        const QString text = subject(rng);
        const QString speed = rng.below(2) ? QStringLiteral("12") : QStringLiteral("24");
        block += QStringLiteral(
                     "insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, EMI_CODIGO, PRG_CODIGO, FUN_CODIGO, LAN_HORA, "
                     "LAN_TEMPO, LAN_TIPO, LAN_CODLANCAMENTO, LAN_ASSUNTO, LAN_VELOCIDADE, LAN_CHECKED) values "
                     "(%1, '%2', %3, %4, %5, '%6', '%7', '%8', %9, %10, '%11', '0');\n")
                     .arg(code)
                     .arg(day.toString(QStringLiteral("yyyy-MM-dd")))
                     .arg(station)
                     .arg(program)
                     .arg(employee)
                     .arg(hour, length, type, quoted(tape), quoted(text), speed);
        if (++inBlock == perBlock) flush();
    }
    flush();
    tra.commit();
    att.executeImmediate(QStringLiteral("set generator GEN_LANCAMENTO to %1").arg(firstEntry + count - 1));
    return count;
}

int generate(fb::Attachment& att, const Sizes& sz, int firstEntry) {
    if (firstEntry <= 1) {
        Random rng(sz.seed);
        fb::Transaction tra(att);
        fb::Statement emi(tra, QStringLiteral("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME, EMI_CIDADE, EMI_UF, EMI_PATH) "
                                              "values (:C, :N, :CID, 'PR', :P)"));
        for (int e = 1; e <= sz.stations; ++e) {
            emi.setParam(QStringLiteral("C"), e);
            QString name = s(kStations[(e - 1) % int(std::size(kStations))]);
            if (e > int(std::size(kStations))) name += QStringLiteral(" %1").arg(e);
            emi.setParam(QStringLiteral("N"), name);
            emi.setParam(QStringLiteral("CID"), rng.below(2) ? QStringLiteral("Curitiba") : QStringLiteral("São José dos Pinhais"));
            emi.setParam(QStringLiteral("P"), QStringLiteral("/gravacoes/emissora%1").arg(e, 2, 10, QLatin1Char('0')));
            emi.execute();
        }
        fb::Statement prg(tra, QStringLiteral("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (:C, :N, :E)"));
        for (int e = 1; e <= sz.stations; ++e)
            for (int p = 1; p <= sz.programsPerStation; ++p) {
                const int code = (e - 1) * sz.programsPerStation + p;
                prg.setParam(QStringLiteral("C"), code);
                prg.setParam(QStringLiteral("N"), s(kPrograms[(code - 1) % int(std::size(kPrograms))]));
                prg.setParam(QStringLiteral("E"), e);
                prg.execute();
            }
        fb::Statement fun(tra, QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO, FUN_CIDADE, FUN_UF) "
                                              "values (:C, :N, 0, 'Curitiba', 'PR')"));
        for (int f = 1; f <= sz.employees; ++f) {
            fun.setParam(QStringLiteral("C"), f);
            fun.setParam(QStringLiteral("N"), s(rng.pick(kFirst)) + QLatin1Char(' ') + s(rng.pick(kLast)));
            fun.execute();
        }
        tra.commit();
        att.executeImmediate(QStringLiteral("set generator GEN_EMISSORAS to %1").arg(sz.stations));
        att.executeImmediate(QStringLiteral("set generator GEN_PROGRAMAS to %1").arg(sz.stations * sz.programsPerStation));
        att.executeImmediate(QStringLiteral("set generator GEN_FUNCIONARIOS to %1").arg(sz.employees));
        firstEntry = 1;
    }
    return addEntries(att, sz, firstEntry, sz.entries);
}

qint64 residentBytes() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    if (parts.size() < 2) return 0;
    return parts[1].toLongLong() * sysconf(_SC_PAGESIZE);
}

} // namespace benchdata
