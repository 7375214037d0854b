#include "Inicializacao.h"

#include "common/Aplicacao.h"
#include "screens/base/U_Principal.h"

int main(int argc, char** argv) {
    Aplicacao app(argc, argv);
    return ExecutarAplicacao([] { return new TFrmPrincipal; });
}
