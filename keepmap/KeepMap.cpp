#include "keepmap/KeepMap.h"

#include <QPainter>
#include <charconv>
#include <cmath>
#include <cstring>

#include "base/Wording.h"
#include "feed/FeedDocument.h"
#include "feed/FrontierSnapshot.h"
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
base::Result<int> parseId(const std::string& text, std::size_t position) {
    const auto invalid = [&] {
        return base::Failure{base::filled(base::translate("keepmap::KeepMap", "ungültige id \"%1\" bei Eintrag %2"),
                                          {text, std::to_string(position)})};
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

base::Result<platform::Picture> loadPicture(const QString& path, double devicePixelRatio,
                                            const platform::PictureCache* pictures) {
    auto picture = platform::Picture::load(path, devicePixelRatio, nullptr, pictures);
    if (!picture)
        return base::Failure{
            base::filled(base::translate("keepmap::KeepMap", "Datei nicht gefunden: %1"), {path.toStdString()})};
    return *std::move(picture);
}

// Starts the surface over from the background, in its own pixels when it already has the background's
// shape: a fresh copy would cost a new megabyte of memory every time a server is chosen. Otherwise the
// background becomes the surface; its pixels are copied on the first drawing only while someone else
// keeps them too.
void resetSurface(QImage& surface, QImage background) {
    if (!surface.isDetached() || surface.size() != background.size() || surface.format() != background.format() ||
        surface.bytesPerLine() != background.bytesPerLine()) {
        surface = std::move(background);
        return;
    }
    std::memcpy(surface.bits(), background.constBits(), static_cast<std::size_t>(background.sizeInBytes()));
    surface.setDevicePixelRatio(background.devicePixelRatio());
}

}  // namespace

Icon iconFor(const std::string& realm, int id) {
    const std::optional<feed::Realm> known = feed::realmFromName(realm);
    const bool keep = feed::isKeep(id);
    if (known == feed::Realm::Midgard) return keep ? Icon::MidgardKeep : Icon::MidgardTower;
    if (known == feed::Realm::Hibernia) return keep ? Icon::HiberniaKeep : Icon::HiberniaTower;
    return keep ? Icon::AlbionKeep : Icon::AlbionTower;
}

KeepMap::KeepMap(QString programFolder, const KeepPosTable& positions, const platform::PictureCache* pictures)
    : m_programFolder(std::move(programFolder)), m_pictures(pictures), m_positions(positions) {}

MapOutcome KeepMap::draw(const std::string& savedCopyPath, QImage& surface, QImage background,
                         const std::string& snapshotFolder) {
    MapOutcome outcome;
    if (!platform::fileExists(savedCopyPath)) {
        outcome.status = MapOutcome::Status::NoSavedCopy;
        return outcome;
    }
    const base::Result<std::string> copy = feed::readSavedCopy(savedCopyPath);
    const std::string snapshotFile =
        snapshotFolder.empty() ? std::string() : feed::snapshotPath(snapshotFolder, savedCopyPath);
    // The snapshot the last save or drawing left, when it is of these very bytes: no XML to parse.
    if (copy && !snapshotFile.empty()) {
        if (const std::optional<feed::FrontierSnapshot> snapshot = feed::readSnapshot(snapshotFile, *copy)) {
            const auto attribute = [&snapshot](std::size_t position, const char* name) {
                return *snapshot->attribute(position, name);  // it holds all that the drawing asks
            };
            return draw(attribute, snapshot->date, surface, std::move(background));
        }
    }
    std::optional<feed::FeedDocument> doc;
    std::string date;
    try {
        doc = copy ? feed::FeedDocument::parse(*copy) : feed::FeedDocument::notAFeed(copy.error());
        date = doc->date();
    } catch (const feed::FeedError& error) {
        outcome.status = MapOutcome::Status::Failed;
        outcome.failure = error.what();
        return outcome;
    }
    // For the next start; without it, that start parses the copy as this one did.
    if (std::optional<feed::FrontierSnapshot> snapshot; !snapshotFile.empty() && (snapshot = feed::snapshotOf(*doc)))
        (void)feed::writeSnapshot(snapshotFile, *copy, *snapshot);
    return draw([&doc](std::size_t position, const char* name) { return doc->attribute(position, name); }, date,
                surface, std::move(background));
}

MapOutcome KeepMap::draw(const EntryAttribute& attribute, const std::string& date, QImage& surface, QImage background) {
    MapOutcome outcome;
    outcome.date = date;
    base::Status drawn;
    try {
        drawn = drawStructures(attribute, surface, std::move(background));
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

base::Status KeepMap::drawStructures(const EntryAttribute& attribute, QImage& surface, QImage background) {
    // Icons as sharp as the map: at twice the size where the map has twice the pixels.
    const double ratio = background.devicePixelRatio();
    std::vector<platform::Picture> icons;
    for (const char* name : kIconFiles) {
        auto icon = loadPicture(m_programFolder + "/symbols/" + name + ".ico", ratio, m_pictures);
        if (!icon) return base::Failure{icon.error()};
        icons.push_back(std::move(*icon));
    }
    const auto ornament = loadPicture(m_programFolder + "/form/corner_topleft.ico", ratio, m_pictures);

    m_guild.fill(std::string());
    resetSurface(surface, std::move(background));
    QPainter painter(&surface);
    if (!ornament) return base::Failure{ornament.error()};
    const QSize mapSize = surface.deviceIndependentSize().toSize();
    const int mapW = mapSize.width(), mapH = mapSize.height();
    const int ow = ornament->roundedWidth(), oh = ornament->roundedHeight();
    using platform::Mirror;
    ornament->place(painter, QPoint(0, 0), Mirror::None);
    ornament->place(painter, QPoint(0, mapH - oh), Mirror::TopBottom);
    ornament->place(painter, QPoint(mapW - ow, mapH - oh), Mirror::Both);
    ornament->place(painter, QPoint(mapW - ow, 0), Mirror::LeftRight);

    std::vector<QRect> marked;  // the places of the guild's structures, ringed once all icons are drawn
    for (std::size_t i = 0; i < kStructures; ++i) {
        const base::Result<int> parsed = parseId(attribute(i, "id"), i);
        if (!parsed) return base::Failure{parsed.error()};
        const int id = *parsed;
        const Icon icon = iconFor(attribute(i, "realm"), id);
        const std::string guild = attribute(i, "guildname");
        if (id < 0 || id >= kStructures)
            return base::Failure{base::filled(base::translate("keepmap::KeepMap", "id %1 außerhalb 0 bis %2"),
                                              {std::to_string(id), std::to_string(kStructures - 1)})};
        m_guild[id] = guild;

        const platform::Picture& picture = icons[static_cast<std::size_t>(icon)];
        const int x = m_positions[id].x(), y = m_positions[id].y();
        const int halfW = static_cast<int>(std::floor(picture.width() / 2));
        const int halfH = static_cast<int>(std::floor(picture.height() / 2));
        const int left = x - halfW, top = y - halfH;
        const int w = picture.roundedWidth(), h = picture.roundedHeight();
        const QRect place(left, top, w, h);
        picture.draw(painter, place);
        if (!m_markedGuild.empty() && guild == m_markedGuild) marked.push_back(place);
        if (guild.empty()) {
            const Icon unclaimed = feed::isKeep(id) ? Icon::UnclaimedKeep : Icon::UnclaimedTower;
            icons[static_cast<std::size_t>(unclaimed)].draw(painter, place);
        }
        const QRect hits(QPoint(x - halfW, y - halfH), QPoint(x + halfW, y + halfH));
        if (!KeepHitMap::contains(hits))
            return base::Failure{
                base::filled(base::translate("keepmap::KeepMap", "Trefferfläche außerhalb der Karte bei id %1"),
                             {std::to_string(id)})};
        m_hitMap.mark(hits, id + 1);
    }
    drawGuildRings(painter, marked);
    return {};
}

void drawGuildRings(QPainter& painter, const std::vector<QRect>& places) {
    if (places.empty()) return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    for (const auto& [colour, width] : {std::pair{kGuildRingEdge, 3.0}, std::pair{kGuildRingColour, 1.5}}) {
        painter.setPen(QPen(QColor(QRgb(colour)), width));
        for (const QRect& place : places) {
            const double radius = std::max(place.width(), place.height()) / 2.0 + kGuildRingGap;
            painter.drawEllipse(QRectF(place).center(), radius, radius);
        }
    }
}

}  // namespace keepmap
