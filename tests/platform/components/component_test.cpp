#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/components/library.h"
#include "platform/components/menus.h"

using formfile::Value;

namespace {

std::unique_ptr<TComponent> make_owner() {
    return std::unique_ptr<TComponent>(create_component("TComponent", nullptr));
}

std::string error_of(const std::function<void()>& action) {
    try {
        action();
    } catch (const EComponentError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(ComponentNames, OnlyIdentifiersAreAccepted) {
    auto owner = make_owner();
    TComponent* c = create_component("TDataSource", owner.get());
    for (const char* good : {"A", "_x", "Label0", "TDBEditNOME_CLI", "z9_"}) {
        EXPECT_NO_THROW(c->SetName(good)) << good;
        EXPECT_EQ(c->Name(), good);
    }
    for (const char* bad : {"1a", "a b", "a-b", "Pre\xE7o", "a.b", " a"}) {
        EXPECT_EQ(error_of([&] { c->SetName(bad); }),
                  std::string("'") + bad + "' n\xE3o \xE9 um nome de componente v\xE1lido")
            << bad;
        EXPECT_EQ(c->Name(), "z9_") << "a refused name leaves the old one";
    }
    EXPECT_NO_THROW(c->SetName("")) << "an unnamed component is allowed";
}

TEST(ComponentNames, DuplicatesAmongAnOwnersComponentsIgnoreLetterCase) {
    auto owner = make_owner();
    TComponent* first = create_component("TMenuItem", owner.get());
    first->SetName("MMCLIENTE");
    TComponent* second = create_component("TMenuItem", owner.get());
    EXPECT_EQ(error_of([&] { second->SetName("mmcliente"); }), "Um componente chamado mmcliente j\xE1 existe");
    EXPECT_EQ(error_of([&] { second->SetName("MMCLIENTE"); }), "Um componente chamado MMCLIENTE j\xE1 existe");
    EXPECT_EQ(second->Name(), "");
    // A case change of one's own name is no clash; other owners may use the name.
    EXPECT_NO_THROW(first->SetName("MMCliente"));
    auto other = make_owner();
    TComponent* elsewhere = create_component("TMenuItem", other.get());
    EXPECT_NO_THROW(elsewhere->SetName("MMCLIENTE"));
    EXPECT_EQ(owner->FindComponent("mmCLIENTE"), first);
    EXPECT_EQ(owner->FindComponent("nothing"), nullptr);
}

TEST(ComponentOwnership, OwnedComponentsKeepCreationOrderAndGoWithTheOwner) {
    auto owner = make_owner();
    int freed = 0;
    // A watcher outside the owner learns of each freed component.
    struct Watcher : TComponent {
        using TComponent::TComponent;
        int* count = nullptr;
        void Notification(TComponent* c, TOperation op) override {
            TComponent::Notification(c, op);
            if (op == TOperation::opRemove) ++*count;
        }
    } watcher(nullptr, component_class("TComponent"));
    watcher.count = &freed;
    for (const char* name : {"A", "B", "C"}) {
        TComponent* c = create_component("TTable", owner.get());
        c->SetName(name);
        c->FreeNotification(&watcher);
    }
    ASSERT_EQ(owner->ComponentCount(), 3);
    EXPECT_EQ(owner->Components(0)->Name(), "A");
    EXPECT_EQ(owner->Components(2)->Name(), "C");
    EXPECT_EQ(owner->Components(1)->ComponentIndex(), 1);
    EXPECT_THROW(owner->Components(3), EComponentError);

    delete owner->Components(1);
    EXPECT_EQ(freed, 1);
    ASSERT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(1)->Name(), "C");
    owner.reset();
    EXPECT_EQ(freed, 3);
}

TEST(ComponentOwnership, NamesAreIndexedAndOnlyListenersHearOfSiblings) {
    auto owner = make_owner();
    struct Listener : TComponent {
        using TComponent::TComponent;
        std::vector<std::pair<std::string, TOperation>> heard;
        void Notification(TComponent* c, TOperation op) override {
            TComponent::Notification(c, op);
            heard.emplace_back(c->Name(), op);
        }
    };
    auto* asked = new Listener(owner.get(), component_class("TComponent"));
    auto* silent = new Listener(owner.get(), component_class("TComponent"));
    asked->NotifyOnOwnerChanges();
    TComponent* a = create_component("TTable", owner.get());
    a->SetName("A");
    a->SetName("B");  // renamed: found by its new name only
    EXPECT_EQ(owner->FindComponent("b"), a);
    EXPECT_EQ(owner->FindComponent("A"), nullptr);
    TComponent* c = create_component("TTable", owner.get());
    EXPECT_NO_THROW(c->SetName("A")) << "the old name is free again";
    delete a;
    EXPECT_EQ(owner->FindComponent("B"), nullptr);
    EXPECT_NO_THROW(create_component("TTable", owner.get())->SetName("B"));
    ASSERT_EQ(asked->heard.size(), 4u);  // three insertions, one removal
    EXPECT_EQ(asked->heard[2], (std::pair<std::string, TOperation>{"B", TOperation::opRemove}));
    EXPECT_TRUE(silent->heard.empty());
}

// Thousands of names, renamed in another letter case and freed in a scattered order, every one
// found exactly while it stands and never after: the index keeps no trace of names that left it.
TEST(ComponentOwnership, NameIndexFollowsRenamesAndRemovalsAtScale) {
    auto owner = make_owner();
    std::map<std::string, TComponent*> expected;  // by the name in lower case
    std::vector<TComponent*> alive;
    const auto lower = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    for (int i = 0; i < 3000; ++i) {
        TComponent* c = create_component("TComponent", owner.get());
        c->SetName("Shape" + std::to_string(i));
        alive.push_back(c);
    }
    // Every third renamed (some into a name of another letter case only), every fifth freed.
    for (std::size_t i = 0; i < alive.size(); i += 3) alive[i]->SetName(i % 2 ? "SHAPE" + std::to_string(i) : "Ent" + std::to_string(i));
    std::uint32_t seed = 12345;
    for (std::size_t n = 0; n < alive.size() / 5; ++n) {
        seed = seed * 1103515245u + 12345u;
        const std::size_t at = seed % alive.size();
        delete alive[at];
        alive.erase(alive.begin() + static_cast<std::ptrdiff_t>(at));
    }
    for (TComponent* c : alive) expected[lower(c->Name())] = c;
    ASSERT_EQ(expected.size(), alive.size());
    for (int i = 0; i < 3000; ++i)
        for (const std::string& name : {"shape" + std::to_string(i), "ENT" + std::to_string(i)}) {
            const auto it = expected.find(lower(name));
            ASSERT_EQ(owner->FindComponent(name), it == expected.end() ? nullptr : it->second) << name;
        }
    EXPECT_THROW(alive.back()->SetName(alive.front()->Name()), EComponentError);
}

TEST(ComponentOwnership, ReferencesAreClearedWhenTheTargetGoes) {
    auto owner = make_owner();
    auto other = make_owner();
    TComponent* source = create_component("TDataSource", owner.get());
    TComponent* table = create_component("TTable", other.get());  // another owner: only free notification
    source->SetReference("DataSet", table);
    EXPECT_EQ(source->Reference("dataset"), table);
    delete table;
    EXPECT_EQ(source->Reference("DataSet"), nullptr);
    EXPECT_EQ(source->GetProperty("DataSet"), PropertyValue{});

    // The referring one going first leaves nothing behind in the target. A component built in its
    // storage afterwards is, to the language, the same object as far as a stale pointer goes: it would
    // hear of the target going if the target still held the freed one.
    struct Listener : TComponent {
        Listener(int& heard) : TComponent(nullptr, component_class("TDataSource")), heard_(heard) {}
        void Notification(TComponent* c, TOperation op) override {
            TComponent::Notification(c, op);
            ++heard_;
        }
        int& heard_;
    };
    int heard_by_first = 0, heard_by_next = 0;
    alignas(Listener) unsigned char storage[sizeof(Listener)];
    TComponent* table2 = create_component("TTable", other.get());
    Listener* source2 = new (storage) Listener(heard_by_first);
    source2->SetReference("DataSet", table2);
    source2->~Listener();
    Listener* next = new (storage) Listener(heard_by_next);
    delete table2;
    EXPECT_EQ(heard_by_next, 0);
    EXPECT_EQ(heard_by_first, 0);
    next->~Listener();

    // Undoing a free notification undoes it both ways.
    TComponent* watched = create_component("TTable", other.get());
    int heard = 0;
    Listener* watcher = new (storage) Listener(heard);
    watcher->FreeNotification(watched);
    watcher->RemoveFreeNotification(watched);
    delete watched;
    EXPECT_EQ(heard, 0);
    watcher->~Listener();
}

// The list looks through a few members and indexes more: going past that size and back, in both
// directions, it must keep the same members in the same places as a plain list with the same rule
// (the last member takes the place of one removed), refusing a member it already has.
TEST(ComponentList, MembersKeepTheirPlacesAsTheListGrowsPastItsIndexAndShrinks) {
    std::vector<std::unique_ptr<TComponent>> pool;
    for (int i = 0; i < 24; ++i) pool.emplace_back(create_component("TComponent", nullptr));
    ComponentList list;
    std::vector<TComponent*> model;
    const auto add = [&](int i) {
        TComponent* c = pool[static_cast<std::size_t>(i)].get();
        const bool fresh = std::find(model.begin(), model.end(), c) == model.end();
        if (fresh) model.push_back(c);
        EXPECT_EQ(list.Add(c), fresh) << "member " << i;
    };
    const auto remove = [&](int i) {
        TComponent* c = pool[static_cast<std::size_t>(i)].get();
        if (const auto it = std::find(model.begin(), model.end(), c); it != model.end()) {
            *it = model.back();
            model.pop_back();
        }
        list.Remove(c);
    };
    const auto same = [&](const char* step) {
        EXPECT_EQ(list.Members(), model) << step;
        for (const auto& c : pool)
            EXPECT_EQ(list.Contains(c.get()), std::find(model.begin(), model.end(), c.get()) != model.end()) << step;
    };
    for (int i = 0; i < 5; ++i) add(i);
    add(2);
    remove(1);
    remove(7);  // not a member
    same("a few");
    for (int i = 0; i < 24; i += 2) add(i);
    add(4);
    same("past the index");
    for (int i = 0; i < 24; i += 3) remove(i);
    same("removed from the middle");
    for (int i = 23; i >= 0; --i) remove(i);
    EXPECT_TRUE(list.Empty());
    for (int i = 20; i >= 0; i -= 2) add(i);
    add(20);
    same("refilled");
}

TEST(ComponentProperties, ValuesAreCheckedAgainstTheClassDescription) {
    auto owner = make_owner();
    TComponent* edit = create_component("TDBEdit", owner.get());
    edit->SetProperty("maxlength", std::int64_t{20});
    EXPECT_EQ(edit->GetProperty("MaxLength"), PropertyValue{std::int64_t{20}});
    EXPECT_EQ(edit->GetProperty("ReadOnly"), PropertyValue{false}) << "class default";
    EXPECT_FALSE(edit->IsAssigned("DataField"));
    edit->SetProperty("DataField", std::string("NOME"));
    EXPECT_TRUE(edit->IsAssigned("DataField"));
    EXPECT_NE(error_of([&] { edit->SetProperty("Caption", std::string("x")); }).find("n\xE3o existe em TDBEdit"),
              std::string::npos);
    EXPECT_EQ(error_of([&] { edit->SetProperty("MaxLength", std::string("x")); }),
              "Valor inv\xE1lido para a propriedade MaxLength (texto)");
    EXPECT_NE(error_of([&] { edit->SetProperty("CharCase", std::string("ecNormal")); }).find("CharCase"),
              std::string::npos)
        << "an enumeration takes an identifier, not a text";
    EXPECT_NE(error_of([&] { edit->SetProperty("DataSource", Identifier{"DataSource1"}); }).find("SetReference"),
              std::string::npos);
    EXPECT_THROW(edit->SetReference("DataField", edit), EComponentError);
    EXPECT_THROW(create_component("TNoSuchClass", owner.get()), EComponentError);
    EXPECT_THROW(create<TMenuItem>("TDBEdit", owner.get()), EComponentError) << "wrong C++ kind";
}

TEST(Menus, ItemsFormATreeOwnedByTheForm) {
    auto owner = make_owner();
    auto* menu = create<TMainMenu>("TMainMenu", owner.get());
    auto* file = create<TMenuItem>("TMenuItem", owner.get());
    auto* quit = create<TMenuItem>("TMenuItem", owner.get());
    auto* other = create<TMenuItem>("TMenuItem", owner.get());
    menu->Items().Add(file);
    file->Add(quit);
    menu->Items().Add(other);
    EXPECT_EQ(menu->Items().Count(), 2);
    EXPECT_EQ(quit->Parent(), file);
    EXPECT_THROW(quit->Add(file), EComponentError) << "an item cannot hold its own parent";
    other->Add(quit);  // moves
    EXPECT_EQ(file->Count(), 0);
    EXPECT_EQ(other->Items(0), quit);
    // Freeing an item frees its sub-items, which leave their owner.
    delete other;
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(menu->Items().Count(), 1);
}

}  // namespace
