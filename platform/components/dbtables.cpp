// Published properties of the DBTables unit: TTable (the component a form holds; the table object
// that the host hands in is platform/table.h).

#include "platform/components/component.h"
#include "platform/components/library_classes.h"
#include "platform/components/property_builders.h"


const ComponentClass& TTableClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass table("TTable", &TComponentClass());
        table.published = join(
            std::vector<PropertyInfo>{boolean("Active", false), boolean("AutoCalcFields", true),
                                      boolean("CachedUpdates", false), text("DatabaseName"), boolean("DefaultIndex", true),
                                      boolean("Exclusive", false), text("Filter"), boolean("Filtered", false),
                                      set("FilterOptions", {}), text("IndexFieldNames"), text("IndexName"),
                                      text("MasterFields"), component("MasterSource"), boolean("ObjectView", false),
                                      boolean("ReadOnly", false), text("SessionName"), boolean("StoreDefs", false),
                                      text("TableName"), enumeration("TableType", "ttDefault"),
                                      enumeration("UpdateMode", "upWhereAll"), component("UpdateObject")},
            events({"AfterCancel", "AfterClose", "AfterDelete", "AfterEdit", "AfterInsert", "AfterOpen", "AfterPost",
                    "AfterScroll", "BeforeCancel", "BeforeClose", "BeforeDelete", "BeforeEdit", "BeforeInsert",
                    "BeforeOpen", "BeforePost", "BeforeScroll", "OnCalcFields", "OnDeleteError", "OnEditError",
                    "OnFilterRecord", "OnNewRecord", "OnPostError"}));
        creatable<TComponent>(table);
        return table;
    }();
    return description;
}
