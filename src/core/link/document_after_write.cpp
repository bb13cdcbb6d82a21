#include "core/link/document_after_write.h"

#include <algorithm>

#include "core/radio/image_codec.h"
#include "core/radio/models.h"

namespace zt {

RadioDocument documentAfterWrite(RadioImage sent, std::span<const std::uint8_t> radioNow,
                                 const RadioDocument& base)
{
    // A write keeps the radio's identification: the model text (6 bytes) and the seven bytes
    // from the version on; the band byte between them is the document's.
    if (radioNow.size() >= static_cast<std::size_t>(img::Identity + 14)) {
        const auto from = radioNow.begin() + img::Identity;
        std::copy(from, from + 6, sent.bytes.begin() + img::Identity);
        std::copy(from + 7, from + 14, sent.bytes.begin() + img::Identity + 7);
    }
    RadioDocument after = base;
    ProgramState state;
    documentToCurrent(base.Data, state);
    decodeImage(sent, after, state);
    return after;
}

RadioDocument documentAfterWrite(const RadioDocument& doc, std::span<const std::uint8_t> radioNow)
{
    if (radioNow.size() != static_cast<std::size_t>(kImageSize)) return doc;
    RadioDocument copy = doc;
    ProgramState state;
    documentToCurrent(doc.Data, state);
    RadioImage image;
    image.clear();
    encodeDocument(copy, state, image);
    return documentAfterWrite(image, radioNow, doc);
}

}  // namespace zt
