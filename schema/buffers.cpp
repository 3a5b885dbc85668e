#include "schema/buffers.h"

namespace {
void prepare_one(std::optional<LineBuffer>& buffer) {
    if (buffer)
        buffer->clear();
    else
        buffer.emplace();
}
}  // namespace

void GenerationBuffers::prepare() {
    prepare_one(header);
    prepare_one(body);
    prepare_one(create_all);
}

void GenerationBuffers::release() {
    header.reset();
    body.reset();
    create_all.reset();
}

GenerationBuffers& generation_buffers() {
    static GenerationBuffers buffers;
    return buffers;
}
