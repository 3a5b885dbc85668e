// Published properties of the DB unit: TDataSource.

#include "platform/components/component.h"
#include "platform/components/library_classes.h"
#include "platform/components/property_builders.h"


const ComponentClass& TDataSourceClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass data_source("TDataSource", &TComponentClass());
        data_source.published = join(std::vector<PropertyInfo>{boolean("AutoEdit", true), component("DataSet"),
                                                               boolean("Enabled", true)},
                                      events({"OnStateChange", "OnDataChange", "OnUpdateData"}));
        creatable<TComponent>(data_source);
        return data_source;
    }();
    return description;
}
