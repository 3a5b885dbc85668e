#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "model/model_registration.h"
#include "platform/components/component.h"
#include "platform/components/component_registration.h"
#include "platform/identifier.h"
#include "plugin/plugin_registration.h"
#include "shapes/shape_registration.h"

namespace {

const ClassRegistration* const kLayers[] = {&kzr40_platform_classes, &kzr40_shape_classes, &kzr40_plugin_classes,
                                            &kzr40_model_classes};

// Every layer's unit reached the registry in this static link, no class is claimed by two units (the
// later would silently replace the earlier), and a class created by name is the one registered.
TEST(ClassRegistration, EachLayerRegistersItsOwnClassesByName) {
    std::map<std::string, int> registered_by;  // class name (IdentKey) -> layer index
    for (int layer = 0; layer < static_cast<int>(std::size(kLayers)); ++layer) {
        EXPECT_FALSE(kLayers[layer]->classes().empty()) << "layer " << layer;
        for (const ClassDescriber describe : kLayers[layer]->classes()) {
            const ComponentClass& description = describe();
            const auto [at, first] = registered_by.emplace(IdentKey(description.name), layer);
            EXPECT_TRUE(first) << description.name << " registered by layers " << at->second << " and " << layer;
            EXPECT_EQ(find_class(description.name), &description) << description.name;
            if (!description.create) continue;
            TComponent owner(nullptr, TComponentClass());
            TComponent* created = create_component(description.name, &owner);
            ASSERT_NE(created, nullptr) << description.name;
            EXPECT_EQ(&created->ClassType(), &description) << description.name;
        }
    }
    // Spot checks that the lists hold what streams name, one per layer.
    EXPECT_EQ(registered_by.at(IdentKey("TDBLookupComboBox")), 0);
    EXPECT_EQ(registered_by.at(IdentKey("tnoxCaption")), 1);
    EXPECT_EQ(registered_by.at(IdentKey("TEntidade")), 2);
    EXPECT_EQ(registered_by.at(IdentKey("TDiagramDocument")), 3);
}

}  // namespace
