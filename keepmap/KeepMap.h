#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "keepmap/KeepPos.h"

class QPainter;

namespace platform {
class PictureCache;
}

namespace keepmap {

// Which structure covers each map pixel: 0 none, n the structure with id n - 1, on a map of 701 x 701
// cells that is never cleared, so every rectangle ever marked stays. Kept as the rectangles themselves,
// newest last, not as a cell grid: a few KiB instead of half a megabyte touched by every drawing.
class KeepHitMap {
public:
    static constexpr int kSize = 701;
    static bool contains(int x, int y) { return x >= 0 && y >= 0 && x < kSize && y < kSize; }
    static bool contains(const QRect& cells) {
        return contains(cells.left(), cells.top()) && contains(cells.right(), cells.bottom());
    }
    int at(int x, int y) const {
        for (auto mark = m_marks.rbegin(); mark != m_marks.rend(); ++mark) {
            if (mark->cells.contains(x, y)) return mark->value;
        }
        return 0;
    }
    // value: an id + 1 (the drawing refuses ids outside 0 .. kStructures - 1 and rectangles off the map
    // before it gets here). It wins over every earlier mark where they overlap.
    void mark(const QRect& cells, int value) {
        // Marks the new one covers whole can never answer again: drawing the same map over and over
        // keeps the list at one rectangle per structure.
        std::erase_if(m_marks, [&cells](const Mark& old) { return cells.contains(old.cells); });
        m_marks.push_back({cells, value});
    }

private:
    struct Mark {
        QRect cells;
        int value;
    };
    std::vector<Mark> m_marks;
};

// Guild holding each structure on the server last drawn; empty when no guild holds it.
using KeepGuildTable = std::array<std::string, kStructures>;

// What one drawing of a server's map came to.
struct MapOutcome {
    enum class Status { Drawn, NoSavedCopy, Failed };
    Status status = Status::Drawn;
    std::optional<std::string> date;  // the feed's time stamp, once it was read
    std::string failure;              // for a "Fehler: " box
};

// Draws the keeps and towers of one server from its saved feed copy onto the map surface, and records
// guilds and hit rectangles for the hover text. Reads icons, ornament and feed anew every time.
class KeepMap {
public:
    // programFolder holds symbols/ and form/corner_topleft.ico; with pictures, decoded icons are
    // taken from there.
    KeepMap(QString programFolder, const KeepPosTable& positions, const platform::PictureCache* pictures = nullptr);

    // surface is the map's persistent image; background the map picture it is cleared back to, which
    // becomes the surface itself when the surface has no pixels of its own of that shape yet.
    // With a snapshot folder, the copy is drawn from its snapshot there when that was taken of the same
    // bytes, and a copy that had to be parsed leaves one for the next time.
    MapOutcome draw(const std::string& savedCopyPath, QImage& surface, QImage background,
                    const std::string& snapshotFolder = {});

    // The text of an attribute ("id", "realm", "guildname") of the structure at a feed position; throws
    // feed::FeedError as a feed document does when it has none.
    using EntryAttribute = std::function<std::string(std::size_t position, const char* name)>;
    // Draws a feed's structures however they were had: a saved copy, or the history of a moment.
    MapOutcome draw(const EntryAttribute& attribute, const std::string& date, QImage& surface, QImage background);

    // From the next drawing on, the structures this guild holds get a ring; empty: no guild, no ring.
    void setMarkedGuild(std::string guild) { m_markedGuild = std::move(guild); }
    const std::string& markedGuild() const { return m_markedGuild; }

    const KeepGuildTable& keepGuild() const { return m_guild; }
    const KeepHitMap& hitMap() const { return m_hitMap; }

private:
    // Fails with what stopped the drawing (a picture missing, a bad id), for a "Fehler: " box.
    base::Status drawStructures(const EntryAttribute& attribute, QImage& surface, QImage background);

    QString m_programFolder;
    const platform::PictureCache* m_pictures;
    const KeepPosTable& m_positions;
    KeepGuildTable m_guild;
    KeepHitMap m_hitMap;
    std::string m_markedGuild;
};

// The ring around a structure of the player's guild: a circle of this colour inside a dark edge, so it
// shows on every ground of the map and is told apart from the realms' colours.
inline constexpr unsigned kGuildRingColour = 0xffd21f;
inline constexpr unsigned kGuildRingEdge = 0x1c1408;
// Its radius (of the centre of its line) beyond half the icon's larger side, in map pixels.
inline constexpr double kGuildRingGap = 2.5;

// Rings the places (icon rectangles) of the player's guild's structures, over everything drawn before.
void drawGuildRings(QPainter& painter, const std::vector<QRect>& places);

// The pictures a structure is drawn with, in the order of the files in symbols/: its realm's keep or
// tower, and over it the unclaimed mark when no guild holds it.
enum class Icon {
    AlbionKeep,
    AlbionTower,
    MidgardKeep,
    MidgardTower,
    HiberniaKeep,
    HiberniaTower,
    UnclaimedKeep,
    UnclaimedTower
};

// The picture of a structure: Albion's for Albion and any unknown realm.
Icon iconFor(const std::string& realm, int id);

}  // namespace keepmap
