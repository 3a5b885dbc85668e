#include "model/diagram_document.h"

#include "platform/components/property_builders.h"

TDiagramDocument::TDiagramDocument(TComponent* owner) : TDiagramDocument(owner, TDiagramDocumentClass()) {}

TDiagramDocument::TDiagramDocument(TComponent* owner, const ComponentClass& description)
    : TDiagramSurface(owner, description) {}

std::string TDiagramDocument::nome_projeto() const { return text_of(GetProperty("nome_projeto")); }
void TDiagramDocument::SetNomeProjeto(const std::string& nome) { SetProperty("nome_projeto", nome); }
std::string TDiagramDocument::nome_servidor() const { return text_of(GetProperty("nome_servidor")); }
void TDiagramDocument::SetNomeServidor(const std::string& nome) { SetProperty("nome_servidor", nome); }
std::int64_t TDiagramDocument::Escala() const { return integer_of(GetProperty("Escala")); }
void TDiagramDocument::SetEscala(std::int64_t percent) { SetProperty("Escala", percent); }

const ComponentClass& TDiagramDocumentClass() {
    static const ComponentClass description = [] {
        ComponentClass c("TDiagramDocument", &TDiagramSurfaceClass());
        c.published = {props::text("nome_projeto"), props::text("nome_servidor"),
                       props::integer("Escala", TDiagramDocument::kEscalaPadrao)};
        props::creatable<TDiagramDocument>(c);
        return c;
    }();
    return description;
}
