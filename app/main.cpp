#include "Inicializacao.h"

#include "common/Aplicacao.h"
#include "screens/base/U_Principal.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    int r;
    {
        Aplicacao app(argc, argv);
        r = ExecutarAplicacao([] { return new TFrmPrincipal; });
    }
    if (EncerradoPorSinal()) {
        std::fflush(nullptr);
        std::_Exit(r);
    }
    return r;
}
