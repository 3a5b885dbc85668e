#pragma once

#include <string>

class TextFileWriter;

// The text of a maintenance form's unit, around the declaration lines that the layout writes while
// it creates its components. `tabela` is the table name as stored in the entity.
void escrever_inicio_unidade(TextFileWriter& unidade, const std::string& tabela, bool com_grade);
void escrever_fim_unidade(TextFileWriter& unidade, const std::string& tabela);
