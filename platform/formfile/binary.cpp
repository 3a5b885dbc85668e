#include "platform/formfile/binary.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/formfile/printable.h"

namespace formfile {

namespace {

constexpr std::string_view kSignature = "TPF0";

// ---------------------------------------------------------------------------------------------
// Writing

class StreamWriter {
public:
    std::string out;

    void byte(std::uint8_t b) { out.push_back(static_cast<char>(b)); }
    template <class T>
    void little(T v) {
        using U = std::make_unsigned_t<T>;
        U u = static_cast<U>(v);
        char bytes[sizeof(T)];
        for (std::size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<char>(static_cast<std::uint8_t>(u >> (8 * i)));
        out.append(bytes, sizeof bytes);
    }
    void raw(const void* data, std::size_t size) { out.append(static_cast<const char*>(data), size); }

    // What is being written, for a message: a kind and the property it belongs to. The text is made
    // only when a message needs it, not for each of the millions of values of a large stream.
    struct What {
        std::string_view kind;
        std::string_view property = {};
        bool has_property = false;
        std::string text() const {
            return has_property ? std::string(kind) + " of property '" + printable(property) + "'" : std::string(kind);
        }
    };
    static What of_property(std::string_view kind, std::string_view property) { return {kind, property, true}; }

    // A short string cannot hold more than 255 bytes; truncating or wrapping the length byte would
    // corrupt everything after it, so the name is refused.
    void short_string(std::string_view s, const What& what) {
        if (s.size() > 255)
            throw FormFileError("cannot write " + what.text() + " '" + printable(s.substr(0, 40)) +
                                "...': " + std::to_string(s.size()) + " bytes, a short string holds at most 255");
        byte(static_cast<std::uint8_t>(s.size()));
        out.append(s);
    }
    void length32(std::size_t n, const What& what) {
        if (n > 0x7FFFFFFF) throw FormFileError("cannot write " + what.text() + ": too long");
        little(static_cast<std::int32_t>(n));
    }

    void value(const Value& v, std::string_view property) {
        const What what = of_property("a value", property);
        const auto refuse = [&what](std::string_view problem) {
            throw FormFileError("cannot write " + what.text() + ": " + std::string(problem));
        };
        const ValueType type = v.type();
        byte(static_cast<std::uint8_t>(type));
        switch (type) {
            case ValueType::Int8: little(static_cast<std::int8_t>(v.integer())); return;
            case ValueType::Int16: little(static_cast<std::int16_t>(v.integer())); return;
            case ValueType::Int32: little(static_cast<std::int32_t>(v.integer())); return;
            case ValueType::Int64:
            case ValueType::Currency: little(v.integer()); return;
            case ValueType::Extended: {
                const auto stored = v.extended();
                raw(stored.data(), stored.size());
                return;
            }
            case ValueType::Single: {
                const float x = v.single();
                raw(&x, sizeof x);
                return;
            }
            case ValueType::Date: {
                const double x = v.date();
                raw(&x, sizeof x);
                return;
            }
            case ValueType::String: short_string(v.bytes(), what); return;
            case ValueType::Ident: short_string(v.bytes(), of_property("identifier", property)); return;
            case ValueType::LString:
            case ValueType::Binary:
            case ValueType::UTF8String:
                length32(v.bytes().size(), what);
                out.append(v.bytes());
                return;
            case ValueType::WString:
                length32(v.wide().size(), what);
                for (char16_t c : v.wide()) little(static_cast<std::uint16_t>(c));
                return;
            case ValueType::Null:
            case ValueType::False:
            case ValueType::True:
            case ValueType::Nil: return;
            case ValueType::Set:
                for (const std::string& member : v.set()) {
                    // An empty name is the end marker of the set.
                    if (member.empty()) refuse("empty set member name");
                    short_string(member, of_property("set member", property));
                }
                byte(0);
                return;
            case ValueType::List:
                for (const Value& element : v.list()) {
                    // Type byte 0 ends a list, so a Null element cannot be written inside one.
                    if (element.type() == ValueType::Null) refuse("a list cannot hold Null");
                    value(element, property);
                }
                byte(0);
                return;
            case ValueType::Collection:
                for (const CollectionItem& item : v.items()) {
                    if (item.has_order) {
                        const ValueType order = item.order.type();
                        if (order != ValueType::Int8 && order != ValueType::Int16 && order != ValueType::Int32)
                            refuse("a collection item's order is not an integer");
                        value(item.order, property);
                    }
                    byte(static_cast<std::uint8_t>(ValueType::List));
                    properties(item.properties);
                    byte(0);
                }
                byte(0);
                return;
        }
        refuse("unknown value type " + std::to_string(static_cast<int>(type)));
    }

    void properties(const std::vector<PropertyEntry>& entries) {
        for (const PropertyEntry& entry : entries) {
            if (entry.name.empty()) throw FormFileError("cannot write a property without a name");
            short_string(entry.name, What{"property name"});
            value(entry.value, entry.name);
        }
    }

    void object(const ObjectNode& node) {
        // A record starting with a byte of $F0 or more begins with flags; a class name of 240 bytes or
        // more would be taken for them, so it gets an (empty) flags byte in front.
        if (node.flags || node.class_name.size() >= 0xF0) {
            if (node.flags & ~0x07) throw FormFileError("cannot write object '" + printable(node.name) + "': unknown flags");
            byte(static_cast<std::uint8_t>(0xF0 | node.flags));
            if (node.flags & kChildPos) {
                const ValueType pos = node.child_pos.type();
                if (pos != ValueType::Int8 && pos != ValueType::Int16 && pos != ValueType::Int32)
                    throw FormFileError("cannot write object '" + printable(node.name) + "': its position is not an integer");
                value(node.child_pos, "position");
            }
        }
        if (node.class_name.empty()) throw FormFileError("cannot write object '" + printable(node.name) + "' without a class name");
        short_string(node.class_name, What{"class name"});
        short_string(node.name, What{"object name"});
        properties(node.properties);
        byte(0);
        for (const ObjectNode& child : node.children) object(child);
        byte(0);
    }
};

// ---------------------------------------------------------------------------------------------
// Sizing

// The element count of each long run (list, set, collection, property list, children) by the offset
// where it starts. The reader reserves exactly that many elements: grown by doubling, a list of
// one-byte values would need up to three times its final memory while it moves.
struct RunSize {
    std::uint32_t start;
    std::uint32_t count;
};

// A quick pass over the stream that only counts; it stops quietly at anything malformed (the reader
// then reports it) and leaves runs it did not finish uncounted.
class RunSizer {
public:
    explicit RunSizer(std::string_view data) : data_(data) {}

    // In the order of their start, as the reader meets them.
    std::vector<RunSize> sizes(std::size_t object_start) {
        pos_ = object_start;
        object();
        std::erase_if(sizes_, [](const RunSize& r) { return r.count < kCounted; });
        sizes_.shrink_to_fit();
        return std::move(sizes_);
    }

private:
    // Runs of a few elements are not worth a record: they grow by doubling from few elements. From
    // four on, a record (8 bytes) stands for at least 8 bytes of input, and it saves most of the
    // reallocations of the many short property lists (a collection item's fields, a font's five).
    static constexpr std::uint32_t kCounted = 4;

    bool byte(std::uint8_t& b) {
        if (pos_ >= data_.size()) return false;
        b = static_cast<std::uint8_t>(data_[pos_++]);
        return true;
    }
    bool peek(std::uint8_t& b) const {
        if (pos_ >= data_.size()) return false;
        b = static_cast<std::uint8_t>(data_[pos_]);
        return true;
    }
    bool skip(std::size_t n) {
        if (n > data_.size() - pos_) return false;
        pos_ += n;
        return true;
    }
    bool short_string(std::uint8_t& length) { return byte(length) && skip(length); }
    bool length32(std::size_t unit) {
        if (data_.size() - pos_ < 4) return false;
        std::uint32_t n = 0;
        for (int i = 0; i < 4; ++i) n |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(data_[pos_ + i])) << (8 * i);
        pos_ += 4;
        return n <= 0x7FFFFFFF && skip(static_cast<std::size_t>(n) * unit);
    }
    // A place for the count of the run that starts here, taken before the runs inside it: the counts
    // stand in the order of their start (runs left with fewer than kCounted elements are dropped at
    // the end; a run takes at least one byte of input).
    std::size_t place() {
        sizes_.push_back({static_cast<std::uint32_t>(pos_), 0});
        return sizes_.size() - 1;
    }

    // Elements up to the zero byte that ends the run, each read by `element`.
    template <class Element>
    bool run(Element&& element) {
        const std::size_t at = place();
        std::uint32_t count = 0;
        for (std::uint8_t next; peek(next);) {
            if (next == 0) {
                ++pos_;
                sizes_[at].count = count;
                return true;
            }
            if (!element()) return false;
            ++count;
        }
        return false;
    }

    bool value() {
        if (++depth_ > kMaxNestingDepth) return false;
        const bool ok = value_inside();
        --depth_;
        return ok;
    }

    bool value_inside() {
        std::uint8_t type, length;
        if (!byte(type) || type > kLastValueType) return false;
        switch (static_cast<ValueType>(type)) {
            case ValueType::Null:
            case ValueType::False:
            case ValueType::True:
            case ValueType::Nil: return true;
            case ValueType::Int8: return skip(1);
            case ValueType::Int16: return skip(2);
            case ValueType::Int32:
            case ValueType::Single: return skip(4);
            case ValueType::Int64:
            case ValueType::Currency:
            case ValueType::Date: return skip(8);
            case ValueType::Extended: return skip(10);
            case ValueType::String:
            case ValueType::Ident: return short_string(length);
            case ValueType::LString:
            case ValueType::Binary:
            case ValueType::UTF8String: return length32(1);
            case ValueType::WString: return length32(2);
            case ValueType::Set: {
                const std::size_t at = place();
                std::uint32_t count = 0;
                for (;;) {
                    if (!short_string(length)) return false;
                    if (length == 0) break;
                    ++count;
                }
                sizes_[at].count = count;
                return true;
            }
            case ValueType::List: return run([this] { return value(); });
            case ValueType::Collection:
                return run([this] {
                    std::uint8_t next;
                    if (!peek(next)) return false;
                    if (next >= static_cast<std::uint8_t>(ValueType::Int8) &&
                        next <= static_cast<std::uint8_t>(ValueType::Int32) && !value())
                        return false;
                    return byte(next) && next == static_cast<std::uint8_t>(ValueType::List) && properties();
                });
        }
        return false;
    }

    bool properties() {
        return run([this] {
            std::uint8_t length;
            return short_string(length) && value();
        });
    }

    bool object() {
        if (++depth_ > kMaxNestingDepth) return false;
        std::uint8_t first, length;
        bool ok = peek(first);
        if (ok && (first & 0xF0) == 0xF0) ok = skip(1) && (!(first & kChildPos) || value());
        ok = ok && short_string(length) && short_string(length) && properties() &&
             run([this] { return object(); });
        --depth_;
        return ok;
    }

    std::string_view data_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    std::vector<RunSize> sizes_;
};

// ---------------------------------------------------------------------------------------------
// Reading

class StreamReader {
public:
    StreamReader(std::string_view data, std::size_t base) : data_(data), base_(base) {}

    // Counts of the long runs, from RunSizer over the same bytes.
    void expect(std::vector<RunSize> sizes) { sizes_ = std::move(sizes); }

    [[noreturn]] void fail(std::size_t at, const std::string& problem) const {
        throw FormFileError("byte offset " + std::to_string(base_ + at) + ": " + problem);
    }

    // What is being read, for a message: kValue names the property whose value it is. Names are file
    // bytes, so they are escaped; the text is made only when it is needed.
    static constexpr std::string_view kValue = "the value";
    std::string describe(std::string_view what) const {
        if (what == kValue && property_) return "the value of " + property();
        return std::string(what);
    }
    std::string property() const { return "'" + (property_ ? printable(*property_) : std::string()) + "'"; }

    std::size_t pos() const { return pos_; }
    std::size_t left() const { return data_.size() - pos_; }
    bool at_end() const { return pos_ >= data_.size(); }

    // Checked before every read; the message is made out of line, so that the check itself inlines.
    void need(std::size_t n, std::string_view what) const {
        if (n > left()) [[unlikely]]
            ends_before(n, what);
    }
    [[noreturn]] [[gnu::noinline]] [[gnu::cold]] void ends_before(std::size_t n, std::string_view what) const {
        fail(pos_, describe(what) + " needs " + std::to_string(n) + " bytes but the stream ends after " +
                       std::to_string(left()));
    }
    std::uint8_t byte(std::string_view what) {
        need(1, what);
        return static_cast<std::uint8_t>(data_[pos_++]);
    }
    std::uint8_t peek(std::string_view what) const {
        need(1, what);
        return static_cast<std::uint8_t>(data_[pos_]);
    }
    template <class T>
    T little(std::string_view what) {
        need(sizeof(T), what);
        using U = std::make_unsigned_t<T>;
        U u = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            u = static_cast<U>(u | static_cast<U>(static_cast<std::uint8_t>(data_[pos_ + i])) << (8 * i));
        pos_ += sizeof(T);
        return static_cast<T>(u);
    }
    void raw(void* out, std::size_t n, std::string_view what) {
        need(n, what);
        std::memcpy(out, data_.data() + pos_, n);
        pos_ += n;
    }
    std::string_view view(std::size_t n, std::string_view what) {
        need(n, what);
        const std::string_view s = data_.substr(pos_, n);
        pos_ += n;
        return s;
    }
    std::string bytes(std::size_t n, std::string_view what) { return std::string(view(n, what)); }
    std::string short_string(std::string_view what) {
        const std::size_t n = byte(what);
        return bytes(n, what);
    }
    // A 32-bit length, checked against the bytes that are left before anything is allocated.
    std::size_t length32(std::size_t unit, std::string_view what) {
        const std::size_t at = pos_;
        const std::int32_t n = little<std::int32_t>(what);
        if (n < 0) fail(at, describe(what) + " has a negative length " + std::to_string(n));
        if (static_cast<std::size_t>(n) > left() / unit)
            fail(at, describe(what) + " of length " + std::to_string(n) + " runs past the end of the stream (" +
                         std::to_string(left()) + " bytes left)");
        return static_cast<std::size_t>(n);
    }

    void enter(std::size_t at) {
        if (++depth_ > kMaxNestingDepth)
            fail(at, "nesting deeper than " + std::to_string(kMaxNestingDepth) + " levels");
    }
    void leave() { --depth_; }

    Value value() {
        const std::size_t at = pos_;
        const std::uint8_t type_byte = byte("a value type");
        constexpr std::string_view what = kValue;
        if (type_byte > kLastValueType)
            fail(at, "unknown value type " + std::to_string(type_byte) + " for property " + property());
        const auto type = static_cast<ValueType>(type_byte);
        switch (type) {
            case ValueType::Null:
            case ValueType::False:
            case ValueType::True:
            case ValueType::Nil: return Value(type);
            case ValueType::Int8: return Value::integer_of(type, little<std::int8_t>(what));
            case ValueType::Int16: return Value::integer_of(type, little<std::int16_t>(what));
            case ValueType::Int32: return Value::integer_of(type, little<std::int32_t>(what));
            case ValueType::Int64: return Value::integer_of(type, little<std::int64_t>(what));
            case ValueType::Currency: return Value::currency_value(little<std::int64_t>(what));
            case ValueType::Extended: {
                payload::ExtendedBytes stored;
                raw(stored.data(), stored.size(), what);
                return Value::extended_of(stored);
            }
            case ValueType::Single: {
                float x;
                raw(&x, sizeof x, what);
                return Value::single_value(x);
            }
            case ValueType::Date: {
                double x;
                raw(&x, sizeof x, what);
                return Value::date_value(x);
            }
            case ValueType::String:
            case ValueType::Ident: {
                const std::size_t n = byte(what);
                return Value::bytes_of(type, view(n, what));
            }
            case ValueType::LString:
            case ValueType::Binary:
            case ValueType::UTF8String: return Value::bytes_of(type, view(length32(1, what), what));
            case ValueType::WString: {
                const std::size_t n = length32(2, what);
                std::u16string wide(n, u'\0');
                for (std::size_t i = 0; i < n; ++i) wide[i] = static_cast<char16_t>(little<std::uint16_t>(what));
                return Value::wide_value(wide);
            }
            case ValueType::Set: {
                std::vector<std::string> members;
                members.reserve(expected());
                for (;;) {
                    std::string member = short_string("a set member");
                    if (member.empty()) break;
                    members.push_back(std::move(member));
                }
                return Value::set_value(std::move(members));
            }
            case ValueType::List: {
                enter(at);
                std::vector<Value> elements;
                elements.reserve(expected());
                while (peek("the end of a list") != 0) elements.push_back(value());
                ++pos_;
                leave();
                return Value::list_value(std::move(elements));
            }
            case ValueType::Collection: {
                enter(at);
                std::vector<CollectionItem> items;
                items.reserve(expected());
                while (peek("the end of a collection") != 0) {
                    CollectionItem item;
                    const std::uint8_t next = peek("a collection item");
                    if (next == static_cast<std::uint8_t>(ValueType::Int8) ||
                        next == static_cast<std::uint8_t>(ValueType::Int16) ||
                        next == static_cast<std::uint8_t>(ValueType::Int32)) {
                        item.has_order = true;
                        item.order = value();
                    }
                    const std::size_t item_at = pos_;
                    if (byte("a collection item") != static_cast<std::uint8_t>(ValueType::List))
                        fail(item_at, "a collection item of " + property() + " does not start with the list marker 1");
                    item.properties = properties();
                    items.push_back(std::move(item));
                }
                ++pos_;
                leave();
                return Value::collection(std::move(items));
            }
        }
        fail(at, "unknown value type " + std::to_string(type_byte));
    }

    // Property entries up to and including the terminating zero byte.
    std::vector<PropertyEntry> properties() {
        const PropertyName* outer = property_;
        std::vector<PropertyEntry> entries;
        entries.reserve(expected());
        while (peek("the end of a property list") != 0) {
            PropertyEntry entry;
            const std::size_t length = byte("a property name");
            entry.name = PropertyName(view(length, "a property name"));
            property_ = &entry.name;
            entry.value = value();
            property_ = outer;
            entries.push_back(std::move(entry));
        }
        ++pos_;
        return entries;
    }

    ObjectNode object() {
        const std::size_t at = pos_;
        enter(at);
        ObjectNode node;
        const std::uint8_t first = peek("an object record");
        if ((first & 0xF0) == 0xF0) {
            ++pos_;
            node.flags = first & 0x0F;
            if (node.flags & ~0x07) fail(at, "unknown object flags " + std::to_string(node.flags));
            if (node.flags & kChildPos) {
                const std::size_t pos_at = pos_;
                node.child_pos = value();
                if (!node.child_pos.is_integer() || node.child_pos.type() == ValueType::Int64)
                    fail(pos_at, "an object's position is not a 8, 16 or 32-bit integer");
            }
        }
        node.class_name = short_string("a class name");
        if (node.class_name.empty()) fail(at, "an object record without a class name");
        node.name = short_string("an object name");
        node.properties = properties();
        node.children.reserve(expected());
        while (peek("the end of an object's children") != 0) node.children.push_back(object());
        ++pos_;
        leave();
        return node;
    }

private:
    std::string_view data_;
    std::size_t base_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    const PropertyName* property_ = nullptr;  // the property whose value is being read
    std::vector<RunSize> sizes_;
    std::size_t next_size_ = 0;

    // The element count of the run that starts here, when it was counted; runs are met in the order of
    // their start.
    std::size_t expected() {
        while (next_size_ < sizes_.size() && sizes_[next_size_].start < pos_) ++next_size_;
        return next_size_ < sizes_.size() && sizes_[next_size_].start == pos_ ? sizes_[next_size_].count : 0;
    }
};

ObjectNode read_stream_at(std::string_view stream, std::size_t base) {
    if (stream.size() > kMaxFormFileSize) throw FormFileError("the stream has " + too_large_message(stream.size()));
    StreamReader reader(stream, base);
    if (stream.size() < kSignature.size() || stream.substr(0, kSignature.size()) != kSignature)
        reader.fail(0, "not a component stream: the signature TPF0 is missing");
    reader.bytes(kSignature.size(), "the signature");
    reader.expect(RunSizer(stream).sizes(kSignature.size()));
    ObjectNode root = reader.object();
    if (!reader.at_end())
        reader.fail(reader.pos(), std::to_string(reader.left()) + " bytes follow the root object's record");
    return root;
}

}  // namespace

std::string write_stream(const ObjectNode& root) {
    StreamWriter writer;
    writer.out.append(kSignature);
    writer.object(root);
    return std::move(writer.out);
}

ObjectNode read_stream(std::string_view stream) { return read_stream_at(stream, 0); }

std::string write_form_file(const ObjectNode& root) {
    const std::string stream = write_stream(root);
    std::string name = root.class_name;
    // The resource name ends at the first zero byte, and one starting with $FF would read as a number.
    if (name.find('\0') != std::string::npos)
        throw FormFileError("cannot write the resource header: class name holds a zero byte");
    if (!name.empty() && static_cast<unsigned char>(name[0]) == 0xFF)
        throw FormFileError("cannot write the resource header: class name starts with byte 255");
    name = AsciiUpperCase(name);
    StreamWriter header;
    header.byte(0xFF);
    header.little<std::uint16_t>(10);
    header.out.append(name);
    header.byte(0);
    header.little<std::uint16_t>(0x1030);
    header.little<std::uint32_t>(static_cast<std::uint32_t>(stream.size()));
    return header.out + stream;
}

bool looks_binary(std::string_view file) {
    return (!file.empty() && static_cast<unsigned char>(file[0]) == 0xFF) || file.substr(0, 4) == kSignature;
}

ObjectNode read_form_file(std::string_view file, ResourceHeader* header) {
    if (file.size() > kMaxFormFileSize) throw FormFileError("the form file has " + too_large_message(file.size()));
    ResourceHeader parsed;
    std::string_view stream = file;
    if (!file.empty() && static_cast<unsigned char>(file[0]) == 0xFF) {
        StreamReader reader(file, 0);
        reader.byte("the resource header");
        const std::uint16_t type = reader.little<std::uint16_t>("the resource type");
        if (type != 10) reader.fail(1, "resource type " + std::to_string(type) + " is not 10 (raw data)");
        // The name: a zero-terminated text, or an ordinal ($FF then a 16-bit number).
        if (reader.peek("the resource name") == 0xFF) {
            reader.byte("the resource name");
            parsed.name = std::to_string(reader.little<std::uint16_t>("the resource name"));
        } else {
            for (;;) {
                const std::uint8_t c = reader.byte("the resource name (no terminating zero)");
                if (c == 0) break;
                parsed.name.push_back(static_cast<char>(c));
            }
        }
        parsed.flags = reader.little<std::uint16_t>("the resource flags");
        const std::size_t size_at = reader.pos();
        parsed.size = reader.little<std::uint32_t>("the resource size");
        parsed.header_size = reader.pos();
        if (parsed.size != reader.left())
            reader.fail(size_at, "the resource header announces " + std::to_string(parsed.size) +
                                     " bytes of stream but " + std::to_string(reader.left()) + " follow");
        stream = file.substr(parsed.header_size);
    }
    ObjectNode root = read_stream_at(stream, parsed.header_size);
    if (!header) return root;
    *header = parsed;
    if (parsed.header_size == 0) header->size = static_cast<std::uint32_t>(stream.size());
    return root;
}

}  // namespace formfile
