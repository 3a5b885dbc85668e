#pragma once

#include <cstdint>
#include <string>

class HostStringList;

// Generates the main project of the application: the project source "<title>.DPR" (sanitised title,
// in the current directory), the main unit `diretorio` + "Princ.PAS" and its form file
// `diretorio` + "Princ.dfm". Each entry of `entradas` is "caption;TABLE;group caption;group stem".
// Errors (EInOutError, EComponentError for clashing menu names) leave the call; files written until
// then stay on disk, closed.
void gerar_projeto_principal(const HostStringList& entradas, const std::string& diretorio, std::int32_t tipo_banco,
                             const std::string& titulo);
