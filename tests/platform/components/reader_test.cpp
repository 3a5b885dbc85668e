// The component reader: generated forms survive a read and a write byte for byte, and bad streams fail
// with errors that name the item, leaving nothing behind.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "diagram/diagram.h"
#include "platform/components/component_reader.h"
#include "platform/components/control.h"
#include "platform/components/library.h"
#include "platform/components/property_builders.h"
#include "platform/components/streaming.h"
#include "platform/formfile/binary.h"
#include "platform/formfile/text.h"
#include "platform/string_list.h"
#include "platform/table.h"
#include "plugin/exports.h"
#include "plugin/nomes.h"
#include "tests/appgen/form_fixture.h"

namespace fs = std::filesystem;

namespace {

// Reads a form file (declaring its root's form class) and writes it again.
std::string read_and_write(const std::string& file) {
    const formfile::ObjectNode node = formfile::read_form_file(file);
    define_form_class(node.class_name);
    return form_file_bytes(*read_component(node));
}

TEST(ComponentReader, EveryGeneratedFormReadsBackToTheSameBytes) {
    int forms = 0;
    for (const char* example : {"cliente.json", "vendas.json"}) {
        for (int layout : {0, 1, 2}) {
            const Diagram diagram = load_diagram(fs::path(KZR40_SOURCE_DIR) / "examples" / example);
            fixture::ScratchDir dir;
            StringList entries;
            for (const DiagramEntity& d : diagram.entities) {
                d.entity->SetTipoform(layout);
                std::string tabela = d.entity->tabela().str();  // as the host passes it: an identifier
                limpa_identificador(0, tabela);
                d.entity->SetTabela(tabela);
                TTable table;
                gera_tab(&table, d.entity.get(), dir.prefix().c_str(), 0, true);
                gerarform(&table, d.entity.get(), dir.prefix().c_str(), 0, 0);
                entries.Add((d.entity->tabela().str() + ";" + d.entity->tabela().str() + ";Grupo").c_str());
            }
            const fs::path previous = fs::current_path();  // the project source goes to the current directory
            fs::current_path(dir.path());
            gerarmain(&entries, dir.prefix().c_str(), 0, 0, "Exemplo");
            fs::current_path(previous);
            for (const std::string& name : dir.files()) {
                if (fs::path(name).extension() != ".dfm") continue;
                const std::string original = fixture::read_file(dir.path() / name);
                EXPECT_EQ(read_and_write(original), original) << example << " layout " << layout << ": " << name;
                ++forms;
            }
        }
    }
    EXPECT_GE(forms, 6 * 2);  // at least one maintenance form and the main form per run
}

// Reads `text` into a fresh owner and returns the error; the owner must be left as it was.
std::string reading_error(const std::string& text) {
    std::unique_ptr<TComponent> owner(create_component("TComponent", nullptr));
    define_form_class("TLido");
    try {
        read_component_text(text, owner.get());
    } catch (const EComponentError& e) {
        EXPECT_EQ(owner->ComponentCount(), 0) << "nothing half-built stays with the owner";
        return e.what();
    }
    return "(no error)";
}

TEST(ComponentReader, BadStreamsNameTheItemAndLeaveNothingBehind) {
    const std::string head = "object Lido: TLido\n  object Label0: TLabel\n";
    EXPECT_EQ(reading_error("object X: TNoSuchForm\nend\n"), "Classe TNoSuchForm n\xE3o encontrada");
    EXPECT_EQ(reading_error(head + "    Foo = 1\n  end\nend\n"),
              "Erro ao ler Label0.Foo: Propriedade Foo n\xE3o existe em TLabel");
    EXPECT_EQ(reading_error(head + "    Font.Weight = 1\n  end\nend\n"),
              "Erro ao ler Label0.Font.Weight: a fonte n\xE3o tem a propriedade Weight");
    EXPECT_NE(reading_error(head + "    Caption = 12\n  end\nend\n").find("Erro ao ler Label0.Caption: "), std::string::npos);
    EXPECT_NE(reading_error(head + "    Font.Color = clNoSuchColour\n  end\nend\n").find("Label0.Font.Color"),
              std::string::npos);
    EXPECT_NE(reading_error(head + "  end\n  object X: TNoSuch\n  end\nend\n").find("Lido.X: Classe TNoSuch"),
              std::string::npos);
    EXPECT_EQ(reading_error(head + "    FocusControl = Edit9\n  end\nend\n"),
              "Erro ao ler Label0.FocusControl: n\xE3o h\xE1 componente chamado Edit9");
    EXPECT_EQ(reading_error(head + "  end\n  object label0: TLabel\n  end\nend\n"),
              "Erro ao ler label0: Um componente chamado label0 j\xE1 existe");
    EXPECT_EQ(reading_error("object Lido: TLido\n  object T: TTable\n    object L: TLabel\n    end\n  end\nend\n"),
              "Erro ao ler L: O controle L n\xE3o pode estar dentro de T (TTable)");
}

TEST(ComponentReader, ReferencesMayPointForwardAndTheRootIsOwnedWhenAsked) {
    std::unique_ptr<TComponent> owner(create_component("TComponent", nullptr));
    define_form_class("TLido");
    auto form = read_component_text(
        "object Lido: TLido\n  ActiveControl = E\n  object S: TDataSource\n    DataSet = T\n  end\n"
        "  object T: TTable\n  end\n  object E: TDBEdit\n    DataSource = S\n  end\nend\n",
        owner.get());
    EXPECT_EQ(owner->FindComponent("Lido"), form.get());
    EXPECT_EQ(form->FindComponent("S")->Reference("DataSet"), form->FindComponent("T"));
    EXPECT_EQ(form->Reference("ActiveControl"), form->FindComponent("E"));
    EXPECT_FALSE(form->FindComponent("E")->Loading());
    form.reset();
    EXPECT_EQ(owner->ComponentCount(), 0);
}

// A class that stores binary data of its own, as a picture holder does.
const ComponentClass& TBlobHolderClass() {
    static const ComponentClass description = [] {
        ComponentClass c("TBlobHolder", &TComponentClass());
        c.published = {props::strings("Lines")};
        c.defined = {props::binary("Data")};
        props::creatable<TComponent>(c);
        return c;
    }();
    return description;
}
const ClassRegistration blob_registration{TBlobHolderClass};

TEST(ComponentReader, DefinedBinaryDataAndStringListsTravelWithTheComponent) {
    define_form_class("TLido");
    std::unique_ptr<TComponent> form(read_component_text("object Lido: TLido\n  object B: TBlobHolder\n  end\nend\n"));
    TComponent* holder = form->FindComponent("B");
    const std::string bytes("\x00\xFF\x10 blob", 8);
    holder->SetProperty("Data", Bytes{bytes});
    holder->SetProperty("Lines", Lines{{"a", "b"}});
    const std::string file = form_file_bytes(*form);
    auto again = read_component_file(file);
    EXPECT_EQ(again->FindComponent("B")->GetProperty("Data"), PropertyValue{Bytes{bytes}});
    EXPECT_EQ(again->FindComponent("B")->GetProperty("Lines"), (PropertyValue{Lines{{"a", "b"}}}));
    EXPECT_EQ(form_file_bytes(*again), file);
    EXPECT_NE(reading_error("object Lido: TLido\n  object B: TBlobHolder\n    Data = 'text'\n  end\nend\n")
                  .find("Erro ao ler B.Data: Valor inv\xE1lido para a propriedade Data (String)"),
              std::string::npos);
}

TEST(ComponentReader, HooksSeeEachComponentBeforeItIsSetUpAndMayLeavePropertiesOut) {
    define_form_class("TLido");
    const formfile::ObjectNode node = formfile::read_text(
        "object Lido: TLido\n  object Label0: TLabel\n    Caption = 'x'\n    Foo = 1\n  end\n"
        "  object Label1: TLabel\n    Caption = 'y'\n  end\nend\n");
    std::vector<std::string> seen;
    ComponentReadHooks hooks;
    hooks.created = [&](TComponent& component, const formfile::ObjectNode& from) {
        const auto* control = dynamic_cast<TControl*>(&component);
        // Loading, but not yet named or placed.
        seen.push_back(from.name + (component.Name().empty() ? "" : " named") + (control && control->Parent() ? " placed" : "") +
                       (component.Loading() ? "" : " not loading"));
    };
    // An unknown property left out is no error; a known one left out keeps its value.
    hooks.property = [&](TComponent& component, const formfile::PropertyEntry& entry) {
        return entry.name != "Foo" && !(component.Name() == "Label1" && entry.name == "Caption");
    };
    const std::unique_ptr<TComponent> form = read_component(node, nullptr, hooks);
    EXPECT_EQ(seen, (std::vector<std::string>{"Lido", "Label0", "Label1"}));
    EXPECT_EQ(static_cast<TControl*>(form->FindComponent("Label0"))->Caption(), "x");
    EXPECT_NE(static_cast<TControl*>(form->FindComponent("Label1"))->Caption(), "y");
    EXPECT_FALSE(form->FindComponent("Label1")->Loading());
}

}  // namespace
