#include "BenchData.h"

#include "platform/firebird/Attachment.h"
#include "platform/firebird/Statement.h"
#include "platform/firebird/Transaction.h"
#include "db/Schema.h"

#include <firebird/Interface.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <stdexcept>
#include <sys/resource.h>
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

namespace {

// Literal inserts sent in blocks: far fewer round trips than one per row.
class InsertBlocks {
public:
    explicit InsertBlocks(fb::Transaction& tra) : tra_(tra) {}
    void add(const QString& insert) {
        block_ += insert;
        block_ += QStringLiteral(";\n");
        if (++inBlock_ == 150 || block_.size() > 40000) flush();
    }
    void flush() {
        if (!inBlock_) return;
        fb::Statement st(tra_, QStringLiteral("execute block as begin\n") + block_ + QStringLiteral("end"));
        st.execute();
        block_.clear();
        sinceCommit_ += inBlock_;
        inBlock_ = 0;
        if (sinceCommit_ >= 20000) {
            tra_.commitRetaining();
            sinceCommit_ = 0;
        }
    }

private:
    fb::Transaction& tra_;
    QString block_;
    int inBlock_ = 0, sinceCommit_ = 0;
};

int scalarInt(fb::Transaction& tra, const QString& sql) {
    fb::Statement st(tra, sql);
    st.open();
    const int v = st.fetch() && !st.value(0).isNull() ? st.value(0).toInt() : 0;
    st.close();
    return v;
}

QString phone(Random& rng) {
    return QStringLiteral("(41) 3%1-%2").arg(100 + rng.below(900)).arg(1000 + rng.below(9000));
}

const char* const kCities[] = {"Curitiba", "São José dos Pinhais", "Colombo", "Araucária", "Pinhais",
                               "Campo Largo", "Ponta Grossa", "Paranaguá", "Guarapuava", "Foz do Iguaçu"};
const char* const kStreets[] = {"Rua XV de Novembro", "Avenida Sete de Setembro", "Rua Marechal Deodoro",
                                "Avenida João Gualberto", "Rua Emiliano Perneta", "Alameda Cabral",
                                "Rua Padre Anchieta", "Avenida Batel", "Rua Comendador Araújo"};
const char* const kDistricts[] = {"Centro", "Batel", "Água Verde", "Portão", "Bacacheri", "Cabral",
                                  "Boqueirão", "Mercês", "Juvevê", "São Francisco"};
const char* const kCompanies[] = {"Comércio", "Indústria", "Construtora", "Distribuidora", "Farmácia",
                                  "Supermercado", "Auto Peças", "Transportes", "Agropecuária", "Clínica"};
const char* const kMedia[] = {"CD de áudio", "DVD", "Fita cassete", "Fita VHS", "Arquivo MP3", "Pen drive",
                              "Transcrição impressa", "Envio por e-mail"};
const char* const kPayments[] = {"Dinheiro", "Boleto bancário", "Cheque", "Depósito", "Cartão de crédito",
                                 "Faturado"};
const char* const kTerms[] = {"À vista", "30 dias", "30/60 dias", "30/60/90 dias", "15 dias", "28 dias"};

// Adds count rows to one table through make(code), codes from first.
template <typename Make>
int addRows(fb::Attachment& att, const QString& generator, int first, int count, Make make) {
    if (count <= 0) return 0;
    fb::Transaction tra(att);
    InsertBlocks blocks(tra);
    for (int i = 0; i < count; ++i) blocks.add(make(first + i));
    blocks.flush();
    tra.commit();
    att.executeImmediate(QStringLiteral("set generator %1 to %2").arg(generator).arg(first + count - 1));
    return count;
}

} // namespace

int fillRegisters(fb::Attachment& att, int rows, std::uint32_t seed) {
    Random rng(seed ^ 0x9e3779b9u);
    int count = 0, top = 0;
    auto state = [&](const char* table, const char* key) {
        fb::Transaction tra(att);
        count = scalarInt(tra, QStringLiteral("select count(*) from %1").arg(QLatin1String(table)));
        top = scalarInt(tra, QStringLiteral("select max(%1) from %2").arg(QLatin1String(key), QLatin1String(table)));
        tra.commit();
    };
    // Each value drawn in its own statement, so the sequence is fixed.
    auto pick = [&](const auto& items) { return quoted(s(rng.pick(items))); };
    auto person = [&] {
        const QString first = s(rng.pick(kFirst));
        const QString last = s(rng.pick(kLast));
        return first + QLatin1Char(' ') + last;
    };
    int written = 0;

    state("TB_EMISSORAS", "EMI_CODIGO");
    written += addRows(att, QStringLiteral("GEN_EMISSORAS"), top + 1, rows - count, [&](int c) {
        const QString name = quoted(s(rng.pick(kStations)) + QStringLiteral(" %1").arg(c));
        const QString street = pick(kStreets);
        const QString district = pick(kDistricts);
        const QString city = pick(kCities);
        const QString fone = phone(rng);
        return QStringLiteral("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME, EMI_ENDERECO, EMI_BAIRRO, EMI_CIDADE, "
                              "EMI_UF, EMI_FONE, EMI_PATH) values (%1, %2, %3, %4, %5, 'PR', '%6', '/gravacoes/emissora%1')")
            .arg(c)
            .arg(name, street, district, city, fone);
    });
    state("TB_EMISSORAS", "EMI_CODIGO");
    const int stations = top;

    state("TB_PROGRAMAS", "PRG_CODIGO");
    written += addRows(att, QStringLiteral("GEN_PROGRAMAS"), top + 1, rows - count, [&](int c) {
        const QString name = quoted(s(rng.pick(kPrograms)) + QStringLiteral(" %1").arg(c));
        const int station = 1 + rng.below(stations);
        return QStringLiteral("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (%1, %2, %3)")
            .arg(c)
            .arg(name)
            .arg(station);
    });

    state("TB_FUNCIONARIOS", "FUN_CODIGO");
    const int firstEmployee = top + 1;
    written += addRows(att, QStringLiteral("GEN_FUNCIONARIOS"), top + 1, rows - count, [&](int c) {
        const QString name = person();
        const QString full = quoted(name + QLatin1Char(' ') + s(rng.pick(kLast)));
        const QString street = quoted(s(rng.pick(kStreets)) + QStringLiteral(", %1").arg(1 + rng.below(3000)));
        const QString district = pick(kDistricts);
        const QString city = pick(kCities);
        const QString fone = phone(rng);
        const int day = 1 + rng.below(28);
        const int month = 1 + rng.below(12);
        return QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_ENDERECO, FUN_BAIRRO, FUN_CIDADE, "
                              "FUN_UF, FUN_FONE, FUN_CARGO, FUN_DIAANIVERSARIO, FUN_MESANIVERSARIO, FUN_TIPO) values "
                              "(%1, %2, %3, %4, %5, 'PR', '%6', 'Operador', %7, %8, 0)")
            .arg(c)
            .arg(full, street, district, city, fone)
            .arg(day)
            .arg(month);
    });
    state("TB_FUNCIONARIOS", "FUN_CODIGO");
    const int employees = top;

    // One seller per new employee while there are any.
    state("TB_VENDEDORES", "VEN_CODIGO");
    int nextEmployee = firstEmployee;
    written += addRows(att, QStringLiteral("GEN_VENDEDORES"), top + 1, rows - count, [&](int c) {
        const int employee = nextEmployee <= employees ? nextEmployee++ : 1 + rng.below(employees);
        const int units = 1 + rng.below(15);
        const int tenths = rng.below(10);
        return QStringLiteral("insert into TB_VENDEDORES (VEN_CODIGO, VEN_COMISSAO, FUN_CODIGO) values (%1, %2.%3, %4)")
            .arg(c)
            .arg(units)
            .arg(tenths)
            .arg(employee);
    });

    state("TB_MIDIAS", "MID_CODIGO");
    written += addRows(att, QStringLiteral("GEN_MIDIAS"), top + 1, rows - count, [&](int c) {
        const QString name = quoted(s(rng.pick(kMedia)) + QStringLiteral(" %1").arg(c));
        const int reais = 5 + rng.below(200);
        const int cents = rng.below(100);
        return QStringLiteral("insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO, MID_VALOR) values (%1, %2, %3.%4)")
            .arg(c)
            .arg(name)
            .arg(reais)
            .arg(cents, 2, 10, QLatin1Char('0'));
    });

    state("TB_FORMAPAGAMENTO", "FPG_CODIGO");
    written += addRows(att, QStringLiteral("GEN_FORMAPAGAMENTO"), top + 1, rows - count, [&](int c) {
        const QString name = quoted(s(rng.pick(kPayments)) + QStringLiteral(" %1").arg(c));
        return QStringLiteral("insert into TB_FORMAPAGAMENTO (FPG_CODIGO, FPG_DESCRICAO) values (%1, %2)")
            .arg(c)
            .arg(name);
    });
    state("TB_FORMAPAGAMENTO", "FPG_CODIGO");
    const int forms = top;

    state("TB_PRAZOS", "PRA_CODIGO");
    written += addRows(att, QStringLiteral("GEN_PRAZOS"), top + 1, rows - count, [&](int c) {
        const int form = 1 + rng.below(forms);
        const QString name = quoted(s(rng.pick(kTerms)) + QStringLiteral(" %1").arg(c));
        return QStringLiteral("insert into TB_PRAZOS (PRA_CODIGO, FPG_CODIGO, PRA_DESCRICAO) values (%1, %2, %3)")
            .arg(c)
            .arg(form)
            .arg(name);
    });

    state("TB_CLIENTES", "CLI_CODIGO");
    written += addRows(att, QStringLiteral("GEN_CLIENTES"), top + 1, rows - count, [&](int c) {
        const bool company = rng.below(3) != 0;
        QString name;
        if (company) {
            const QString kind = s(rng.pick(kCompanies));
            name = kind + QLatin1Char(' ') + s(rng.pick(kLast)) + QStringLiteral(" Ltda");
        } else {
            name = person();
        }
        const QString street = quoted(s(rng.pick(kStreets)) + QStringLiteral(", %1").arg(1 + rng.below(3000)));
        const QString district = pick(kDistricts);
        const QString city = pick(kCities);
        const int cep1 = rng.below(10), cep2 = 100 + rng.below(900), cep3 = 100 + rng.below(900);
        const QString fone = phone(rng);
        const QString contact = quoted(person());
        const int value = 50 + rng.below(5000);
        return QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_RAZAOSOCIAL, CLI_ENDERECO, CLI_BAIRRO, "
                              "CLI_CIDADE, CLI_ESTADO, CLI_CEP, CLI_FONE, CLI_PESSOA, CLI_CONTATO, CLI_VALOR) values "
                              "(%1, %2, %3, %4, %5, %6, 'PR', '%7', '%8', '%9', %10, %11)")
            .arg(c)
            .arg(quoted(name.toUpper()), quoted(name), street, district, city,
                 QStringLiteral("8%1.%2-%3").arg(cep1).arg(cep2).arg(cep3), fone,
                 company ? QStringLiteral("J") : QStringLiteral("F"), contact)
            .arg(value);
    });
    return written;
}

qint64 residentBytes() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    if (parts.size() < 2) return 0;
    return parts[1].toLongLong() * sysconf(_SC_PAGESIZE);
}

void setForcedWrites(const QString& database, bool on) {
    using namespace Firebird;
    IMaster* m = fb::master();
    ThrowStatusWrapper status(m->getStatus());
    IXpbBuilder* dpb = nullptr;
    IProvider* provider = nullptr;
    IAttachment* att = nullptr;
    try {
        dpb = m->getUtilInterface()->getXpbBuilder(&status, IXpbBuilder::DPB, nullptr, 0);
        dpb->insertString(&status, isc_dpb_user_name, db::kUsuarioBanco.toLatin1().constData());
        dpb->insertString(&status, isc_dpb_password, db::kSenhaBanco.toLatin1().constData());
        dpb->insertInt(&status, isc_dpb_force_write, on ? 1 : 0);
        provider = m->getDispatcher();
        const QByteArray name = QFile::encodeName(database);
        att = provider->attachDatabase(&status, name.constData(), dpb->getBufferLength(&status),
                                       dpb->getBuffer(&status));
        att->detach(&status);
        att = nullptr;
    } catch (const FbException& e) {
        char text[512];
        m->getUtilInterface()->formatStatus(text, sizeof text, e.getStatus());
        if (att) att->release();
        if (provider) provider->release();
        if (dpb) dpb->dispose();
        status.dispose();
        throw std::runtime_error(text);
    }
    if (provider) provider->release();
    if (dpb) dpb->dispose();
    status.dispose();
}

qint64 peakResidentBytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return qint64(u.ru_maxrss) * 1024;
}

QString argText(const QStringList& args, const QString& name, const QString& fallback) {
    const int i = int(args.indexOf(name));
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
}

int argInt(const QStringList& args, const QString& name, int fallback) {
    bool ok = false;
    const int v = argText(args, name).toInt(&ok);
    return ok ? v : fallback;
}

void figure(const char* name, double ratio, const QString& details, const char* target) {
    std::printf("%s: %.2f  (%s)%s%s\n", name, ratio, qPrintable(details), target ? "  target " : "",
                target ? target : "");
    std::fflush(stdout);
}

void measure(const char* name, double value, const char* unit, const QString& details) {
    std::printf("%s: %.1f %s  (%s)\n", name, value, unit, qPrintable(details));
    std::fflush(stdout);
}

ExecutableFolder::ExecutableFolder(const QString& database) {
    QDir d(dir_.path());
    d.mkpath(QStringLiteral("skins"));
    d.mkpath(QStringLiteral("Relatorios"));
    QFile ini(d.filePath(QStringLiteral("BaseClipping.ini")));
    if (ini.open(QIODevice::WriteOnly)) ini.write(QFile::encodeName(QFileInfo(database).absoluteFilePath()) + "\r\n");
    QFile skin(d.filePath(QStringLiteral("Skin.ini")));
    if (skin.open(QIODevice::WriteOnly)) skin.write("[Skin]\r\nSkin=Nenhum\r\n");
}

} // namespace benchdata
