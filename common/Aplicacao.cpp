#include "Aplicacao.h"
#include "U_Funcoes.h"

#include "platform/core/Exception.h"

Aplicacao::Aplicacao(int& argc, char** argv) : QApplication(argc, argv) {}

bool Aplicacao::notify(QObject* receptor, QEvent* evento) {
    try {
        return QApplication::notify(receptor, evento);
    } catch (const clip::EAbort&) {
    } catch (const std::exception& e) {
        TratarExcecao(receptor, e);
    } catch (...) {
        TratarExcecao(receptor, clip::Exception(QStringLiteral("Erro desconhecido")));
    }
    return false;
}
