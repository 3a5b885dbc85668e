#include <memory>
#include <string>

#include "platform/components/component_reader.h"
#include "platform/components/streaming.h"
#include "platform/formfile/text.h"
#include "tests/shapes/shape_fixture.h"

namespace {

TEST(ShapeClasses, AreRegisteredByNameCaptionsIncluded) {
    for (const char* name : {"TnoxCustomShape", "TnoxMoveableShape", "TnoxSizeableShape", "TnoxConnection",
                             "TnoxConnector", "TnoxTextShape", "tnoxCaption"})
        EXPECT_NE(find_class(name), nullptr) << name;
    EXPECT_THROW(create_component("TnoxConnection", nullptr), EComponentError);  // not a component
}

// A zoomed diagram with an enlarged text box and a connector, written and read back.
TEST(ShapeStreaming, DiagramReadsBackAsItWasStored) {
    TDiagramSurface diagram(nullptr);
    diagram.SetName("Diagram");
    diagram.SetBounds(0, 0, 400, 300);
    auto* text = new TnoxTextShape(&diagram);
    text->SetParent(&diagram);
    text->SetText("Cliente");
    text->SetBounds(40, 30, 120, 60);
    auto* box = new TnoxSizeableShape(&diagram);
    box->SetParent(&diagram);
    box->SetBounds(240, 40, 60, 40);
    auto* connector = new TnoxConnector(&diagram);
    connector->SetParent(&diagram);
    connector->SetLineWidth(3);
    TnoxConnection from, to;
    from.SetShape(text);
    from.SetPerc(50);
    to.SetShape(box);
    connector->Connect(&from, &to);
    connector->GetConnection(1)->SetPerc(50);
    connector->Reroute();
    for (TnoxCustomShape* s : std::initializer_list<TnoxCustomShape*>{text, box, connector}) s->SetEscala(50);

    const std::string form = formfile::write_text(stream_component(diagram), false);
    EXPECT_NE(form.find("    StartConn.Shape = " + text->Name() + "\n    StartConn.Side = csRight\n    StartConn.perc = 50\n"),
              std::string::npos)
        << form;

    std::unique_ptr<TComponent> read = read_component_text(form);
    auto* read_text = dynamic_cast<TnoxTextShape*>(read->FindComponent(text->Name()));
    auto* read_box = dynamic_cast<TnoxSizeableShape*>(read->FindComponent(box->Name()));
    auto* read_connector = dynamic_cast<TnoxConnector*>(read->FindComponent(connector->Name()));
    ASSERT_TRUE(read_text && read_box && read_connector);
    EXPECT_EQ(read_text->BoundsRect(), text->BoundsRect());  // neither rescaled nor shrunk
    EXPECT_EQ(read_text->Escala(), 50);
    EXPECT_EQ(read_box->BoundsRect(), box->BoundsRect());
    EXPECT_EQ(read_connector->BoundsRect(), connector->BoundsRect());
    EXPECT_EQ(read_connector->LineWidth(), 3);
    const TnoxConnection& start = *read_connector->GetConnection(1);
    EXPECT_EQ(start.Shape(), read_text);
    EXPECT_EQ(start.Side, connector->GetConnection(1)->Side);
    EXPECT_EQ(start.perc(), 50);
    EXPECT_EQ(start.Offset(), connector->GetConnection(1)->Offset());
    EXPECT_EQ(read_connector->GetConnection(2)->Shape(), read_box);
    // The index came back with the references: moving a shape reroutes its connector.
    read_box->SetBounds(300, 40, 60, 40);
    EXPECT_EQ(read_connector->BoundsRect().Right, 300);
}

TEST(ShapeStreaming, WrongSubPropertiesAndReferencesAreRefusedByName) {
    auto error = [](const std::string& properties) {
        try {
            read_component_text("object D: TDiagramSurface\n  object A: TnoxSizeableShape\n  end\n"
                                "  object C: TnoxConnector\n" + properties + "  end\nend\n");
        } catch (const EComponentError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_NE(error("    StartConn.Nada = 1\n").find("C.StartConn.Nada"), std::string::npos);
    EXPECT_NE(error("    StartConn.Side = csMeio\n").find("csMeio"), std::string::npos);
    EXPECT_NE(error("    Caption = A\n").find("C.Caption"), std::string::npos);  // not a caption
    EXPECT_EQ(error("    EndConn.Shape = A\n"), "no error");
}

}  // namespace
