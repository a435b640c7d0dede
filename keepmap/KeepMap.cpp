#include "keepmap/KeepMap.h"

#include <QPainter>
#include <charconv>
#include <cmath>
#include <cstring>

#include "feed/FeedDocument.h"
#include "feed/SavedCopy.h"
#include "platform/Paths.h"
#include "platform/Picture.h"

namespace keepmap {
namespace {

constexpr const char* kIconFiles[8] = {"keep_alb", "tower_alb", "keep_mid",       "tower_mid",
                                       "keep_hib", "tower_hib", "keep_unclaimed", "tower_unclaimed"};

// The id converted as a number to a 16-bit whole number: blanks around it, a sign and decimals are
// allowed, halves round to even ("2.5" is 2, "+5" and "5.0" are 5). Anything that is not a number, or
// lies outside the 16-bit range, fails.
base::Result<int> ParseId(const std::string& text, std::size_t position) {
    const auto invalid = [&] {
        return base::Failure{"ungültige id \"" + text + "\" bei Eintrag " + std::to_string(position)};
    };
    const std::size_t begin = text.find_first_not_of(' ');
    const std::size_t end = text.find_last_not_of(' ');
    if (begin == std::string::npos) return invalid();
    const char* first = text.data() + begin;
    const char* last = text.data() + end + 1;
    if (*first == '+') {
        ++first;
        if (first == last || *first == '-' || *first == '+') return invalid();
    }
    double value = 0;
    const auto [stop, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || stop != last || !std::isfinite(value)) return invalid();
    const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
    if (rounded < -32768 || rounded > 32767) return invalid();
    return static_cast<int>(rounded);
}

base::Result<platform::Picture> LoadPicture(const QString& path, double devicePixelRatio) {
    auto picture = platform::Picture::Load(path, devicePixelRatio);
    if (!picture) return base::Failure{"Datei nicht gefunden: " + path.toStdString()};
    return *std::move(picture);
}

// Starts the surface over from the background, in its own pixels when it already has the background's
// shape: a fresh copy would cost a new megabyte of memory every time a server is chosen.
void ResetSurface(QImage& surface, const QImage& background) {
    if (!surface.isDetached() || surface.size() != background.size() || surface.format() != background.format() ||
        surface.bytesPerLine() != background.bytesPerLine()) {
        surface = background.copy();
        return;
    }
    std::memcpy(surface.bits(), background.constBits(), static_cast<std::size_t>(background.sizeInBytes()));
    surface.setDevicePixelRatio(background.devicePixelRatio());
}

}  // namespace

Icon IconFor(const std::string& realm, int id) {
    const std::optional<feed::Realm> known = feed::RealmFromName(realm);
    const bool keep = feed::IsKeep(id);
    if (known == feed::Realm::Midgard) return keep ? Icon::MidgardKeep : Icon::MidgardTower;
    if (known == feed::Realm::Hibernia) return keep ? Icon::HiberniaKeep : Icon::HiberniaTower;
    return keep ? Icon::AlbionKeep : Icon::AlbionTower;
}

KeepMap::KeepMap(QString programFolder, const KeepPosTable& positions)
    : m_programFolder(std::move(programFolder)), m_positions(positions) {}

MapOutcome KeepMap::Draw(const std::string& savedCopyPath, QImage& surface, const QImage& background) {
    MapOutcome outcome;
    if (!platform::FileExists(savedCopyPath)) {
        outcome.status = MapOutcome::Status::NoSavedCopy;
        return outcome;
    }
    std::optional<feed::FeedDocument> doc;
    std::string date;
    try {
        doc = feed::LoadSavedCopy(savedCopyPath);
        date = doc->Date();
    } catch (const feed::FeedError& error) {
        outcome.status = MapOutcome::Status::Failed;
        outcome.failure = error.what();
        return outcome;
    }
    return Draw([&doc](std::size_t position, const char* name) { return doc->Attribute(position, name); }, date,
                surface, background);
}

MapOutcome KeepMap::Draw(const EntryAttribute& attribute, const std::string& date, QImage& surface,
                         const QImage& background) {
    MapOutcome outcome;
    outcome.date = date;
    base::Status drawn;
    try {
        drawn = DrawStructures(attribute, surface, background);
    } catch (const feed::FeedError& error) {
        // The feed document's own: an entry without the attribute asked for.
        drawn = base::Failure{std::string(error.what())};
    }
    if (!drawn) {
        outcome.status = MapOutcome::Status::Failed;
        outcome.failure = drawn.error();
    }
    return outcome;
}

base::Status KeepMap::DrawStructures(const EntryAttribute& attribute, QImage& surface, const QImage& background) {
    // Icons as sharp as the map: at twice the size where the map has twice the pixels.
    const double ratio = background.devicePixelRatio();
    std::vector<platform::Picture> icons;
    for (const char* name : kIconFiles) {
        auto icon = LoadPicture(m_programFolder + "/symbols/" + name + ".ico", ratio);
        if (!icon) return base::Failure{icon.error()};
        icons.push_back(std::move(*icon));
    }
    const auto ornament = LoadPicture(m_programFolder + "/form/corner_topleft.ico", ratio);

    m_guild.fill(std::string());
    ResetSurface(surface, background);
    QPainter painter(&surface);
    if (!ornament) return base::Failure{ornament.error()};
    const QSize mapSize = surface.deviceIndependentSize().toSize();
    const int mapW = mapSize.width(), mapH = mapSize.height();
    const int ow = ornament->RoundedWidth(), oh = ornament->RoundedHeight();
    using platform::Mirror;
    ornament->Place(painter, QPoint(0, 0), Mirror::None);
    ornament->Place(painter, QPoint(0, mapH - oh), Mirror::TopBottom);
    ornament->Place(painter, QPoint(mapW - ow, mapH - oh), Mirror::Both);
    ornament->Place(painter, QPoint(mapW - ow, 0), Mirror::LeftRight);

    for (std::size_t i = 0; i < kStructures; ++i) {
        const base::Result<int> parsed = ParseId(attribute(i, "id"), i);
        if (!parsed) return base::Failure{parsed.error()};
        const int id = *parsed;
        const Icon icon = IconFor(attribute(i, "realm"), id);
        const std::string guild = attribute(i, "guildname");
        if (id < 0 || id >= kStructures)
            return base::Failure{"id " + std::to_string(id) + " außerhalb 0 bis " + std::to_string(kStructures - 1)};
        m_guild[id] = guild;

        const platform::Picture& picture = icons[static_cast<std::size_t>(icon)];
        const int x = m_positions[id].x(), y = m_positions[id].y();
        const int halfW = static_cast<int>(std::floor(picture.Width() / 2));
        const int halfH = static_cast<int>(std::floor(picture.Height() / 2));
        const int left = x - halfW, top = y - halfH;
        const int w = picture.RoundedWidth(), h = picture.RoundedHeight();
        const QRect place(left, top, w, h);
        picture.Draw(painter, place);
        if (guild.empty()) {
            const Icon unclaimed = feed::IsKeep(id) ? Icon::UnclaimedKeep : Icon::UnclaimedTower;
            icons[static_cast<std::size_t>(unclaimed)].Draw(painter, place);
        }
        for (int hx = x - halfW; hx <= x + halfW; ++hx) {
            for (int hy = y - halfH; hy <= y + halfH; ++hy) {
                if (!KeepHitMap::Contains(hx, hy))
                    return base::Failure{"Trefferfläche außerhalb der Karte bei id " + std::to_string(id)};
                m_hitMap.Set(hx, hy, id + 1);
            }
        }
    }
    return {};
}

}  // namespace keepmap
