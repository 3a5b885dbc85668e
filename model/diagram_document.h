#pragma once

#include <cstdint>
#include <string>

#include "platform/components/diagram_surface.h"

// The root of a stored diagram: the surface the diagram's shapes stand on, carrying what belongs to the
// diagram as a whole: the project and server names that the host hands to set_var, and the zoom the
// diagram is shown at. The shapes themselves are stored at 100 % (docs/stored-diagrams.md).
class TDiagramDocument : public TDiagramSurface {
public:
    static constexpr std::int32_t kEscalaPadrao = 100;

    explicit TDiagramDocument(TComponent* owner);
    TDiagramDocument(TComponent* owner, const ComponentClass& description);

    std::string nome_projeto() const;
    void SetNomeProjeto(const std::string& nome);
    std::string nome_servidor() const;
    void SetNomeServidor(const std::string& nome);
    // As stored: a stream may hold any integer here; the host checks the range.
    std::int64_t Escala() const;
    void SetEscala(std::int64_t percent);
};

const ComponentClass& TDiagramDocumentClass();
