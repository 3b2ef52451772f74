// The tag module: a track's tags through TagLib's property map, and its
// embedded picture through each format's own frames, which TagLib 1.13 keeps
// apart from the property map.

#include "platform/tags/tags_module.h"

#include <taglib/aifffile.h>
#include <taglib/apetag.h>
#include <taglib/asffile.h>
#include <taglib/asfpicture.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>
#include <taglib/xiphcomment.h>

#include <cstdlib>

namespace {

std::string Utf8(const TagLib::String& text) { return text.to8Bit(true); }

// The first non-empty value of key.
std::string FirstOf(const TagLib::PropertyMap& properties, const char* key)
{
    const auto it = properties.find(key);
    if (it == properties.end()) return {};
    for (const TagLib::String& value : it->second) {
        if (!value.isEmpty()) return Utf8(value);
    }
    return {};
}

std::vector<std::string> AllOf(const TagLib::PropertyMap& properties, const char* key)
{
    std::vector<std::string> values;
    const auto it = properties.find(key);
    if (it == properties.end()) return values;
    for (const TagLib::String& value : it->second) {
        if (!value.isEmpty()) values.push_back(Utf8(value));
    }
    return values;
}

// Keeps the first picture offered, or a front cover over any other.
class PictureChoice {
public:
    explicit PictureChoice(TrackTags& tags) : m_tags(tags) { }
    void Offer(const TagLib::ByteVector& data, const TagLib::String& mimeType, bool front)
    {
        if (data.isEmpty() || m_front || (!m_tags.picture.empty() && !front)) return;
        m_tags.picture.assign(data.data(), data.size());
        m_tags.pictureMimeType = Utf8(mimeType);
        m_front = front;
    }

private:
    TrackTags& m_tags;
    bool m_front = false;
};

void OfferId3v2(const TagLib::ID3v2::Tag* tag, PictureChoice& choice)
{
    if (!tag) return;
    using Frame = TagLib::ID3v2::AttachedPictureFrame;
    for (const TagLib::ID3v2::Frame* frame : tag->frameList("APIC")) {
        if (const auto* picture = dynamic_cast<const Frame*>(frame))
            choice.Offer(picture->picture(), picture->mimeType(), picture->type() == Frame::FrontCover);
    }
}

void OfferFlac(const TagLib::List<TagLib::FLAC::Picture*>& pictures, PictureChoice& choice)
{
    for (const TagLib::FLAC::Picture* picture : pictures) {
        choice.Offer(picture->data(), picture->mimeType(),
                     picture->type() == TagLib::FLAC::Picture::FrontCover);
    }
}

void OfferXiph(TagLib::Ogg::XiphComment* comment, PictureChoice& choice)
{
    if (comment) OfferFlac(comment->pictureList(), choice);
}

void OfferMp4(const TagLib::MP4::Tag* tag, PictureChoice& choice)
{
    if (!tag || !tag->contains("covr")) return;
    for (const TagLib::MP4::CoverArt& cover : tag->item("covr").toCoverArtList()) {
        const char* type = cover.format() == TagLib::MP4::CoverArt::PNG ? "image/png"
            : cover.format() == TagLib::MP4::CoverArt::JPEG             ? "image/jpeg"
            : cover.format() == TagLib::MP4::CoverArt::GIF              ? "image/gif"
            : cover.format() == TagLib::MP4::CoverArt::BMP              ? "image/bmp"
                                                                        : "";
        // MP4 marks no picture as the front one: the first is the cover.
        choice.Offer(cover.data(), type, false);
    }
}

void OfferAsf(const TagLib::ASF::Tag* tag, PictureChoice& choice)
{
    if (!tag) return;
    const auto it = tag->attributeListMap().find("WM/Picture");
    if (it == tag->attributeListMap().end()) return;
    for (const TagLib::ASF::Attribute& attribute : it->second) {
        const TagLib::ASF::Picture picture = attribute.toPicture();
        if (picture.isValid())
            choice.Offer(picture.picture(), picture.mimeType(),
                         picture.type() == TagLib::ASF::Picture::FrontCover);
    }
}

// APE's cover item: the picture's file name, a NUL, then its bytes.
void OfferApe(const TagLib::APE::Tag* tag, PictureChoice& choice)
{
    if (!tag) return;
    const auto it = tag->itemListMap().find("COVER ART (FRONT)");
    if (it == tag->itemListMap().end()) return;
    const TagLib::ByteVector data = it->second.binaryData();
    const int nul = data.find('\0');
    if (nul >= 0) choice.Offer(data.mid(static_cast<unsigned>(nul) + 1), TagLib::String(), true);
}

void ReadPicture(TagLib::File* file, PictureChoice& choice)
{
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) {
        OfferId3v2(mpeg->ID3v2Tag(), choice);
        OfferApe(mpeg->APETag(), choice);
    } else if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
        OfferFlac(flac->pictureList(), choice);
        OfferId3v2(flac->ID3v2Tag(), choice);
    } else if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file)) {
        OfferMp4(mp4->tag(), choice);
    } else if (auto* xiph = dynamic_cast<TagLib::Ogg::XiphComment*>(file->tag())) {
        // Every Ogg file's tag: Vorbis, Opus, FLAC in Ogg, Speex.
        OfferXiph(xiph, choice);
    } else if (auto* asf = dynamic_cast<TagLib::ASF::File*>(file)) {
        OfferAsf(asf->tag(), choice);
    } else if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(file)) {
        OfferId3v2(wav->ID3v2Tag(), choice);
    } else if (auto* aiff = dynamic_cast<TagLib::RIFF::AIFF::File*>(file)) {
        OfferId3v2(aiff->tag(), choice);
    } else if (auto* wavPack = dynamic_cast<TagLib::WavPack::File*>(file)) {
        OfferApe(wavPack->APETag(), choice);
    }
}

} // namespace

extern "C" void lirvan_read_tags_v1(const char* path, TrackTags* tags)
{
    // The audio's properties are the engine's business: only the tags are read.
    const TagLib::FileRef ref(path, false);
    if (ref.isNull()) return;
    const TagLib::PropertyMap properties = ref.file()->properties();
    tags->title = FirstOf(properties, "TITLE");
    tags->artists = AllOf(properties, "ARTIST");
    tags->album = FirstOf(properties, "ALBUM");
    tags->albumArtists = AllOf(properties, "ALBUMARTIST");
    // "3" or "3/12": the number before any total.
    const int number = std::atoi(FirstOf(properties, "TRACKNUMBER").c_str());
    tags->trackNumber = number > 0 ? number : 0;
    PictureChoice choice(*tags);
    ReadPicture(ref.file(), choice);
}
