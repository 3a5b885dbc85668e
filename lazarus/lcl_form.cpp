#include "lazarus/lcl_form.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "appgen/layout.h"
#include "platform/ascii_case.h"
#include "platform/metrics.h"
#include "platform/utf8_cp1252.h"
#include "plugin/catalogo.h"
#include "lazarus/dbf_tables.h"
#include "plugin/entity_view.h"
#include "plugin/nomes.h"

namespace lazarus {

namespace {

using formfile::ObjectNode;
using formfile::PropertyEntry;
using formfile::Value;
using formfile::ValueType;

void quote(std::string& out, std::string_view utf8) {
    // Printable runs go between quotes as UTF-8; control characters as #nn, as the LCL reads them.
    bool open = false;
    if (utf8.empty()) out += "''";
    for (unsigned char c : utf8) {
        if (c < 0x20) {
            if (open) out += '\'', open = false;
            out += '#' + std::to_string(c);
            continue;
        }
        if (!open) out += '\'', open = true;
        out += static_cast<char>(c);
        if (c == '\'') out += '\'';
    }
    if (open) out += '\'';
}

void write_value(std::string& out, const Value& value, int indent);

void write_list_items(std::string& out, const std::vector<Value>& items, int indent) {
    const std::string blanks(static_cast<std::size_t>(indent), ' ');
    for (const Value& item : items) {
        out += blanks;
        write_value(out, item, indent);
        out += '\n';
    }
}

void write_properties(std::string& out, const std::vector<PropertyEntry>& properties, int indent) {
    const std::string blanks(static_cast<std::size_t>(indent), ' ');
    for (const PropertyEntry& p : properties) {
        if (p.value.type() == ValueType::Null) continue;
        out += blanks;
        out += p.name;
        out += " = ";
        write_value(out, p.value, indent);
        out += '\n';
    }
}

void write_value(std::string& out, const Value& value, int indent) {
    switch (value.type()) {
        case ValueType::Int8:
        case ValueType::Int16:
        case ValueType::Int32:
        case ValueType::Int64: out += std::to_string(value.integer()); break;
        case ValueType::String:
        case ValueType::LString: quote(out, cp1252_to_utf8(value.bytes())); break;
        case ValueType::UTF8String: quote(out, value.bytes()); break;
        case ValueType::WString: {
            std::string narrow;
            for (char16_t c : value.wide()) narrow += c < 0x100 ? static_cast<char>(c) : '?';
            quote(out, cp1252_to_utf8(narrow));
            break;
        }
        case ValueType::Ident: out += value.bytes(); break;
        case ValueType::False: out += "False"; break;
        case ValueType::True: out += "True"; break;
        case ValueType::Nil: out += "nil"; break;
        case ValueType::Set: {
            out += '[';
            const auto& members = value.set();
            for (std::size_t i = 0; i < members.size(); ++i) out += (i ? ", " : "") + members[i];
            out += ']';
            break;
        }
        case ValueType::List:
            out += "(\n";
            write_list_items(out, value.list(), indent + 2);
            out += std::string(static_cast<std::size_t>(indent), ' ') + ")";
            break;
        case ValueType::Collection: {
            out += "<";
            const std::string blanks(static_cast<std::size_t>(indent + 2), ' ');
            for (const auto& item : value.items()) {
                out += "\n" + blanks + "item\n";
                write_properties(out, item.properties, indent + 4);
                out += blanks + "end";
            }
            out += ">";
            break;
        }
        case ValueType::Binary: {
            out += '{';
            char hex[3];
            for (unsigned char c : value.bytes()) std::snprintf(hex, sizeof hex, "%02X", c), out += hex;
            out += '}';
            break;
        }
        case ValueType::Single: out += std::to_string(value.single()); break;
        case ValueType::Date: out += std::to_string(value.date()); break;
        case ValueType::Currency: out += std::to_string(static_cast<double>(value.integer()) / 10000.0); break;
        default: out += "0"; break;  // Extended: no form of this system carries one
    }
}

void write_object(std::string& out, const ObjectNode& node, int indent) {
    const std::string blanks(static_cast<std::size_t>(indent), ' ');
    out += blanks + "object " + node.name + ": " + node.class_name + "\n";
    write_properties(out, node.properties, indent + 2);
    for (const ObjectNode& child : node.children) write_object(out, child, indent + 2);
    out += blanks + "end\n";
}

void set(ObjectNode& node, std::string_view name, Value value) {
    for (PropertyEntry& p : node.properties)
        if (formfile::same_ident(p.name, name)) {
            p.value = std::move(value);
            return;
        }
    node.properties.push_back(PropertyEntry{std::string(name), std::move(value)});
}

void drop(ObjectNode& node, std::string_view name) {
    std::erase_if(node.properties, [&](const PropertyEntry& p) { return formfile::same_ident(p.name, name); });
}

// Properties of the faithful forms that no LCL class publishes.
constexpr std::array kUnknownToLcl = {"OldCreateOrder", "TextHeight", "Ctl3D", "ParentCtl3D", "ImeMode", "ImeName"};
// Windows font names: the widget set's default font stands in for them.
constexpr std::array kWindowsFonts = {"System", "MS Sans Serif"};

ObjectNode* find_node(ObjectNode& node, std::string_view name) {
    if (formfile::same_ident(node.name, name)) return &node;
    for (ObjectNode& child : node.children)
        if (ObjectNode* found = find_node(child, name)) return found;
    return nullptr;
}

const TFieldDef* field_named(const TTable& table, std::string_view name) {
    const std::string wanted = AsciiUpperCase(std::string(name));
    for (int i = 0; i < table.FieldDefs().Count(); ++i)
        if (AsciiUpperCase(table.FieldDefs()[i].Name) == wanted) return &table.FieldDefs()[i];
    return nullptr;
}

// Average character width of the default font at the forms' height, and the edit's own border.
constexpr int kCharPixels = 9;
constexpr int kEditBorder = 12;
// What a combo box's drop-down button and a list box's scroll bar take beside the text (gtk2).
constexpr int kComboButton = 24;
constexpr int kListScrollBar = 16;
// How far above its editor the horizontal layout puts a label.
constexpr int kLabelBand = 30;

std::int64_t integer_property(const ObjectNode& node, std::string_view name) {
    const PropertyEntry* p = node.find(name);
    return p && p->value.is_integer() ? p->value.integer() : 0;
}

ObjectNode* parent_of(ObjectNode& node, const ObjectNode& child) {
    for (ObjectNode& c : node.children) {
        if (&c == &child) return &node;
        if (ObjectNode* found = parent_of(c, child)) return found;
    }
    return nullptr;
}

// An editor `delta` pixels wider pushes what stands to its right in its row (the horizontal layout's
// next blocks, labels above them included) as far, so that nothing covers it.
void widen(ObjectNode& root, ObjectNode& editor, std::int64_t width) {
    const std::int64_t left = integer_property(editor, "Left");
    const std::int64_t top = integer_property(editor, "Top");
    const std::int64_t old_right = left + integer_property(editor, "Width");
    const std::int64_t delta = width - integer_property(editor, "Width");
    set(editor, "Width", Value::integer_value(width));
    ObjectNode* parent = parent_of(root, editor);
    if (delta <= 0 || !parent) return;
    for (ObjectNode& sibling : parent->children) {
        if (&sibling == &editor) continue;
        const std::int64_t sibling_top = integer_property(sibling, "Top");
        const std::int64_t sibling_left = integer_property(sibling, "Left");
        if (sibling_left >= old_right && sibling_top >= top - kLabelBand && sibling_top <= top)
            set(sibling, "Left", Value::integer_value(sibling_left + delta));
    }
}


// The faithful horizontal layout sizes the form to the last editor placed, which need not be the
// lowest one (a tall list box early in a row stands below a short edit that ends it); widened editors
// can move editors too. The form grows to show the lowest editor, within the screen as the faithful
// sizing allows, and takes the scroll bar's width when the screen stops it.
void fit_to_lowest_editor(ObjectNode& root) {
    ObjectNode* scroll_box = find_node(root, "ScrollBox1");
    if (!scroll_box) return;
    std::int64_t lowest = 0;
    for (const ObjectNode& child : scroll_box->children)  // a grid aligned to the box follows the box
        if (!child.find("Align")) lowest = std::max(lowest, integer_property(child, "Top") + integer_property(child, "Height"));
    const std::int64_t missing = lowest + layout::kMargin - integer_property(*scroll_box, "Height");
    const std::int64_t form_height = integer_property(root, "Height");
    const std::int64_t limit = metrics::kScreenHeight - layout::kScreenReserve;
    if (missing <= 0 || form_height >= limit) return;
    const std::int64_t grow = std::min(missing, limit - form_height);
    set(root, "Height", Value::integer_value(form_height + grow));
    set(*scroll_box, "Height", Value::integer_value(integer_property(*scroll_box, "Height") + grow));
    if (grow < missing) {
        set(root, "Width", Value::integer_value(integer_property(root, "Width") + metrics::kVerticalScrollBarWidth));
        set(*scroll_box, "Width",
            Value::integer_value(integer_property(*scroll_box, "Width") + metrics::kVerticalScrollBarWidth));
    }
}


}  // namespace

int value_length(std::int32_t data_type) {
    switch (data_type) {
        case kFtSmallint: return 6;    // -32768
        case kFtInteger: return 11;    // -2147483648
        case kFtWord: return 5;        // 65535
        case kFtFloat: return 24;      // -1.79769313486232E+308
        case kFtCurrency: return 22;   // the float a dBase field holds, with two decimals and grouping
        case kFtBCD: return 22;
        case kFtDate: return 10;       // dd/mm/yyyy
        case kFtTime: return 8;        // hh:nn:ss
        case kFtDateTime: return 19;   // dd/mm/yyyy hh:nn:ss
        case kFtAutoInc: return 11;
        default: return 0;
    }
}

std::string lfm_text(const ObjectNode& root) {
    std::string out;
    write_object(out, root, 0);
    return out;
}

void adapt_to_lcl(ObjectNode& node) {
    for (const char* name : kUnknownToLcl) drop(node, name);
    if (const PropertyEntry* font = node.find("Font.Name"); font && font->value.is_string()) {
        const std::string_view face = font->value.bytes();
        if (std::any_of(kWindowsFonts.begin(), kWindowsFonts.end(), [&](const char* f) { return face == f; }))
            drop(node, "Font.Name");
    }
    if (node.class_name == "TTable") {
        node.class_name = "TDbf";
        std::string file;
        if (const PropertyEntry* name = node.find("TableName"); name && name->value.is_string())
            file = std::string(name->value.bytes());
        const std::size_t dot = file.rfind('.');
        if (dot != std::string::npos) file.erase(dot);
        drop(node, "DatabaseName");
        set(node, "TableName", Value::string_value(file + ".dbf"));
        set(node, "TableLevel", Value::integer_value(7));
    }
    for (ObjectNode& child : node.children) adapt_to_lcl(child);
}

void make_usable(ObjectNode& root, const TTable& table, const EntityView& entity, const Lookups& lookups) {
    int lookup_left = 392;
    for (const ColumnView& column : entity.columns()) {
        if (!column.shown || column.refused()) continue;
        const TFieldDef* field = field_named(table, column.record->nome.view());
        if (!field) field = field_named(table, column.name);
        if (!field) continue;
        const ClasseEditor editor_class = column.editor();
        std::string name = std::string(nome_classe_editor(editor_class)) + field->Name;
        limpa_identificador(entity.kind(), name);
        ObjectNode* editor = find_node(root, name);
        if (!editor) continue;
        switch (editor_class) {
            case ClasseEditor::TDBEdit:
                if (const int length = value_length(field->DataType); length > 0) {
                    widen(root, *editor, length * kCharPixels + kEditBorder);
                    set(*editor, "MaxLength", Value::integer_value(length));
                }
                break;
            // A combo or list box offers values to choose, but its text must fit all the same.
            case ClasseEditor::TDBComboBox:
            case ClasseEditor::TDBListBox:
                if (const int length = value_length(field->DataType); length > 0)
                    widen(root, *editor, length * kCharPixels + kEditBorder +
                                             (editor_class == ClasseEditor::TDBComboBox ? kComboButton : kListScrollBar));
                break;
            // The faithful horizontal layout hides a radio group's label and leaves the group captioned
            // with its component name; the attribute's title belongs there, as on a check box. The
            // vertical layout leaves radio groups and texts unbound, so they would show no value.
            case ClasseEditor::TDBCheckBox:
            case ClasseEditor::TDBRadioGroup:
                set(*editor, "Caption", Value::string_value(column.record->titulo.view()));
                [[fallthrough]];
            case ClasseEditor::TDBText:
                if (!editor->find("DataField")) {
                    set(*editor, "DataField", Value::string_value(field->Name));
                    set(*editor, "DataSource", Value::ident("DataSource1"));
                }
                break;
            case ClasseEditor::TDBLookupComboBox:
            case ClasseEditor::TDBLookupListBox: {
                const auto found = lookups.find(AsciiUpperCase(field->Name));
                if (found == lookups.end()) break;
                const LookupSource& source = found->second;
                const std::string stem = "Lookup" + name.substr(std::string_view(nome_classe_editor(editor_class)).size());
                ObjectNode data_source;
                data_source.class_name = "TDataSource";
                data_source.name = "DataSource" + stem;
                ObjectNode dbf;
                dbf.class_name = "TDbf";
                dbf.name = "Table" + stem;
                set(dbf, "TableName", Value::string_value(source.table + ".dbf"));
                set(dbf, "TableLevel", Value::integer_value(7));
                set(dbf, "ReadOnly", Value::boolean(true));
                set(dbf, "Left", Value::integer_value(lookup_left));
                set(dbf, "Top", Value::integer_value(8));
                set(data_source, "DataSet", Value::ident(dbf.name));
                set(data_source, "Left", Value::integer_value(lookup_left + 40));
                set(data_source, "Top", Value::integer_value(8));
                lookup_left += 80;
                set(*editor, "DataField", Value::string_value(field->Name));
                set(*editor, "DataSource", Value::ident("DataSource1"));
                set(*editor, "KeyField", Value::string_value(source.key_field));
                set(*editor, "ListField", Value::string_value(source.list_field));
                set(*editor, "ListSource", Value::ident(data_source.name));
                root.children.push_back(std::move(data_source));
                root.children.push_back(std::move(dbf));
                break;
            }
            default: break;
        }
    }
    fit_to_lowest_editor(root);
}

}  // namespace lazarus
