// The host finds the entry points by name in the built library, as the host modeller does.

#include <dlfcn.h>

#include <gtest/gtest.h>

namespace {

struct Library {
    void* handle = dlopen(KZR40_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ~Library() {
        if (handle) dlclose(handle);
    }
};

TEST(Exports, EveryEntryPointIsFoundByItsExactName) {
    Library lib;
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    for (const char* name : {"GetID", "Init", "set_var", "listas", "Lings", "Bancos", "tipofonte", "carrega_tipo",
                             "carrega_comps", "nometipo", "ordemtipo", "variavel", "decimais", "traduzcampo",
                             "nomecomponente", "gerar_cabecalho", "gerar_cab_sql", "montar_listagem", "finalizar",
                             "gera_fonte", "gera_fonte_sql", "gera_tab", "gerarform", "gerarmain"}) {
        EXPECT_NE(dlsym(lib.handle, name), nullptr) << name;
    }
}

TEST(Exports, AnswerThroughTheLoadedLibrary) {
    Library lib;
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    auto get_id = reinterpret_cast<const char* (*)()>(dlsym(lib.handle, "GetID"));
    auto ordemtipo = reinterpret_cast<int (*)(const char*)>(dlsym(lib.handle, "ordemtipo"));
    ASSERT_TRUE(get_id && ordemtipo);
    EXPECT_STREQ(get_id(), "KZR40");
    EXPECT_EQ(ordemtipo("ParadoxOle"), 19);
}

}  // namespace
