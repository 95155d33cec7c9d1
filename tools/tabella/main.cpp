#include "comando_tabella.h"

#include "services/orologio.h"

#include <iostream>

int main(int argc, char** argv) {
    meravo::OrologioDiSistema orologio;
    const std::vector<std::string> argomenti(argv + 1, argv + argc);
    return meravo::esegui_tabella(argomenti, std::cout, std::cerr, orologio);
}
