#include "bench/synthetic_diagram.h"

#include <cstdio>

namespace {
// Column kinds cycled over the non-key attributes: type, size, decimals, nullable.
struct Kind {
    const char* tipo;
    int tamanho;
    int decimais;
    bool nullable;
};
constexpr Kind kKinds[] = {
    {"String", 40, 0, false}, {"String", 80, 0, true}, {"Float", 10, 2, false}, {"Date", 0, 0, true},
    {"Integer", 0, 0, false}, {"BCD", 12, 2, true},    {"Boolean", 0, 0, false}, {"Memo", 240, 0, true},
};
}  // namespace

std::string synthetic_diagram_json(int entities, int attributes, bool relationships) {
    std::string json = "{\"version\": 1, \"project\": \"Sintetico\", \"server\": \"BENCH\", \"entities\": [\n";
    char buffer[256];
    for (int e = 1; e <= entities; ++e) {
        std::snprintf(buffer, sizeof buffer,
                      "{\"entidade\": \"Entidade %d\", \"tabela\": \"T%05d\", \"atributos\": [\n"
                      "  {\"nome\": \"ID1\", \"tipo\": \"Integer\", \"key\": true},\n"
                      "  {\"nome\": \"ID2\", \"tipo\": \"SmallInt\", \"key\": true}",
                      e, e);
        json += buffer;
        for (int a = 3; a <= attributes; ++a) {
            const Kind& k = kKinds[a % 8];
            std::snprintf(buffer, sizeof buffer, ",\n  {\"nome\": \"C%02d\", \"tipo\": \"%s\", \"tamanho\": %d, \"decimais\": %d%s}",
                          a, k.tipo, k.tamanho, k.decimais, k.nullable ? ", \"nullable\": true" : "");
            json += buffer;
        }
        if (relationships) {
            const int from = e > 1 ? e - 1 : entities;
            std::snprintf(buffer, sizeof buffer,
                          ",\n  {\"nome\": \"F1\", \"tipo\": \"Integer\", \"foreign_key\": true, \"origem\": \"R%05d\"}"
                          ",\n  {\"nome\": \"F2\", \"tipo\": \"SmallInt\", \"foreign_key\": true, \"origem\": \"R%05d\"}",
                          from, from);
            json += buffer;
        }
        std::snprintf(buffer, sizeof buffer,
                      "\n], \"ChavesSecundarias\": [\n"
                      "  {\"nome\": \"IX%05d_A\", \"campos\": [\"C03\", \"C04\"], \"duplicates\": true},\n"
                      "  {\"nome\": \"IX%05d_B\", \"campos\": [\"C05\"], \"descending\": true}\n]}%s\n",
                      e, e, e < entities ? "," : "");
        json += buffer;
    }
    json += "]";
    if (relationships) {
        json += ", \"relationships\": [\n";
        for (int e = 1; e <= entities; ++e) {
            std::snprintf(buffer, sizeof buffer, "{\"name\": \"R%05d\", \"from\": %d, \"to\": %d, \"Relacao\": \"tr1xn\"}%s\n", e,
                          e, e < entities ? e + 1 : 1, e < entities ? "," : "");
            json += buffer;
        }
        json += "]";
    }
    json += "}\n";
    return json;
}
