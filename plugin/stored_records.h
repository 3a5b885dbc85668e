#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/components/dbgrids.h"
#include "platform/host_string.h"
#include "plugin/registros.h"

class StringList;

// The records of an entity's `atributos` and `ChavesSecundarias` in a stored diagram. A stream carries
// a list's entry texts as the published string list and its records as a collection the entity defines
// itself (`AttributeRecords`, `SecondaryKeyRecords`), one item per entry and one item property per
// record field, so that the text form stays readable. Written, the items show the entity's own records;
// read, each item fills a record of its own, and the entity pairs them with the entry texts once the
// whole stream is read (TEntidade::Loaded), refusing a count that differs. See docs/stored-diagrams.md.

// The item classes and their fields, in record order.
const ComponentClass& AttributeRecordClass();
const ComponentClass& SecondaryKeyRecordClass();

// One item: the record it shows (the entity's) or the one it was read into (its own). An item made
// to show an entry's record never needs one of its own, so its own is made only when first asked for
// (every write makes one item per entry anew).
template <class Record>
class RecordItem : public TCollectionItem {
public:
    RecordItem(TCollection& collection, const ComponentClass& description) : TCollectionItem(collection, description) {}

    Record& record() const { return record_ ? *record_ : own(); }
    void Show(Record* record) { record_ = record; }
    // The record read into this item (blank when nothing was read into it); null once taken. The item
    // goes on showing it.
    std::unique_ptr<Record> Take() {
        if (!taken_) {
            Record& taken = own();
            if (!record_) record_ = &taken;
            taken_ = true;
        }
        return std::move(own_);
    }

private:
    Record& own() const {
        if (!own_) own_ = std::make_unique<Record>();
        return *own_;
    }

    mutable std::unique_ptr<Record> own_;
    Record* record_ = nullptr;  // the entry's record shown; none: the item's own
    bool taken_ = false;
};

class EntityStoredRecords {
public:
    EntityStoredRecords();

    // The collections to write, showing the entries' records (an entry without one shows blank fields).
    // The items point into the lists: they serve one write, and the next write makes them anew.
    const TCollection& ShowAttributes(const StringList& atributos);
    const TCollection& ShowKeys(const StringList& chaves);

    // Read while the entity loads: the collections, filled by the reader, and the entry texts.
    TCollection& Attributes() { return attributes_; }
    TCollection& Keys() { return keys_; }
    std::optional<std::vector<HostString>> attribute_names;
    std::optional<std::vector<HostString>> key_names;

    // Pairs the texts read with the records read, appending the entries to `atributos` and `chaves`
    // (whose holder then owns the records), and forgets what was read. Throws EComponentError naming
    // `entity` and the list when a list's count of texts and of records differ; nothing is paired then.
    void PairRead(const std::string& entity, StringList& atributos, StringList& chaves);

private:
    TCollection attributes_;
    TCollection keys_;
};
