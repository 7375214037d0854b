#include "Inicializacao.h"
#include "U_PrincipalProvisorio.h"

#include "common/Aplicacao.h"

int main(int argc, char** argv) {
    Aplicacao app(argc, argv);
    return ExecutarAplicacao([] { return new TFrmPrincipalProvisorio; });
}
