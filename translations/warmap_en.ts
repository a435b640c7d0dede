<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>core::Download</name>
    <message>
        <source>keine Antwort binnen %1</source>
        <translation>no answer within %1</translation>
    </message>
    <message>
        <source>Antwort stockt seit %1</source>
        <translation>answer stalled for %1</translation>
    </message>
    <message>
        <source>Antwort nicht binnen %1 vollständig</source>
        <translation>answer not complete within %1</translation>
    </message>
    <message>
        <source>entpackte Antwort größer als %1</source>
        <translation>unpacked answer larger than %1</translation>
    </message>
    <message>
        <source>Inhaltskodierung nicht lesbar</source>
        <translation>content encoding not readable</translation>
    </message>
    <message>
        <source>Antwort größer als %1</source>
        <translation>answer larger than %1</translation>
    </message>
    <message>
        <source>HTTP-Status %1</source>
        <translation>HTTP status %1</translation>
    </message>
    <message>
        <source>Verbindung abgelehnt</source>
        <translation>connection refused</translation>
    </message>
    <message>
        <source>keine Verbindung</source>
        <translation>no connection</translation>
    </message>
    <message>
        <source>Rechner nicht gefunden</source>
        <translation>host not found</translation>
    </message>
    <message>
        <source>Zertifikat nicht vertrauenswürdig</source>
        <translation>certificate not trusted</translation>
    </message>
    <message>
        <source>sichere Verbindung gescheitert</source>
        <translation>secure connection failed</translation>
    </message>
    <message>
        <source>Protokoll nicht erlaubt</source>
        <translation>protocol not allowed</translation>
    </message>
    <message>
        <source>zu viele Weiterleitungen</source>
        <translation>too many redirects</translation>
    </message>
    <message>
        <source>Antwort unvollständig</source>
        <translation>answer incomplete</translation>
    </message>
    <message>
        <source>Verbindung ohne Antwort geschlossen</source>
        <translation>connection closed without an answer</translation>
    </message>
    <message>
        <source>keine HTTP-Antwort</source>
        <translation>not an HTTP answer</translation>
    </message>
    <message>
        <source>Verbindung abgebrochen</source>
        <translation>connection broken off</translation>
    </message>
    <message>
        <source>Übertragung gescheitert: %1</source>
        <translation>transfer failed: %1</translation>
    </message>
    <message>
        <source>HTTP-Bibliothek startet nicht</source>
        <translation>the HTTP library does not start</translation>
    </message>
</context>
<context>
    <name>core::FeedCheck</name>
    <message>
        <source>Keine Antwort von %1: %2.</source>
        <translation>No answer from %1: %2.</translation>
    </message>
    <message>
        <source>%1 antwortet, aber nicht mit einem vollständigen Dokument: %2.</source>
        <translation>%1 answers, but not with a complete document: %2.</translation>
    </message>
    <message>
        <source>%1 liefert keinen Feed: %2</source>
        <translation>%1 does not serve a feed: %2</translation>
    </message>
    <message>
        <source>Feed erhalten: %1 Einträge</source>
        <translation>Feed received: %1 entries</translation>
    </message>
    <message>
        <source>, Stand %1</source>
        <translation>, as of %1</translation>
    </message>
</context>
<context>
    <name>core::FetchHelper</name>
    <message>
        <source>fehler im inet</source>
        <translation>Internet error: the feed could not be reached</translation>
    </message>
    <message>
        <source>Hilfsprogramm warmap-fetch fehlt oder versagt</source>
        <translation>the helper program warmap-fetch is missing or failed</translation>
    </message>
</context>
<context>
    <name>core::HandOver</name>
    <message>
        <source>Warmap läuft schon; sein Fenster wird gezeigt.
</source>
        <translation>Warmap is already running; showing its window.
</translation>
    </message>
    <message>
        <source>Warmap läuft schon; seine Einstellungen werden gezeigt.
</source>
        <translation>Warmap is already running; showing its settings.
</translation>
    </message>
    <message>
        <source>Warmap läuft schon; sein Verlauf wird gezeigt.
</source>
        <translation>Warmap is already running; showing its history.
</translation>
    </message>
    <message>
        <source>Warmap läuft schon; seine letzten Meldungen werden gezeigt.
</source>
        <translation>Warmap is already running; showing its recent changes.
</translation>
    </message>
    <message>
        <source>Warmap wird beendet.
</source>
        <translation>Warmap is quitting.
</translation>
    </message>
    <message>
        <source>warmap: Warmap läuft schon, antwortet aber nicht.
</source>
        <translation>warmap: Warmap is already running but does not answer.
</translation>
    </message>
    <message>
        <source>Warmap läuft nicht.
</source>
        <translation>Warmap is not running.
</translation>
    </message>
    <message>
        <source>warmap: cannot start without a display: %1
</source>
        <translation>warmap: cannot start without a display: %1
</translation>
    </message>
</context>
<context>
    <name>core::RefreshPass</name>
    <message>
        <source>leere Antwort</source>
        <translation>empty answer</translation>
    </message>
</context>
<context>
    <name>core::main</name>
    <message>
        <source>warmap: --feed-base applies to a new run only; the running Warmap keeps its feed address.
</source>
        <translation>warmap: --feed-base applies to a new run only; the running Warmap keeps its feed address.
</translation>
    </message>
</context>
<context>
    <name>feed::CompareKeeps</name>
    <message>
        <source>gespeicherte Kopie von %1: %2</source>
        <translation>saved copy of %1: %2</translation>
    </message>
    <message>
        <source>neuer Feed von %1: %2</source>
        <translation>new feed of %1: %2</translation>
    </message>
</context>
<context>
    <name>feed::FeedDocument</name>
    <message>
        <source>Dokument nicht lesbar</source>
        <translation>document not readable</translation>
    </message>
    <message>
        <source>Dokument nicht lesbar: %1 (Zeile %2)</source>
        <translation>document not readable: %1 (line %2)</translation>
    </message>
    <message>
        <source>Dokument zu groß</source>
        <translation>document too large</translation>
    </message>
    <message>
        <source>UTF-16-Dokument endet mit einem halben Zeichen</source>
        <translation>UTF-16 document ends in half a character</translation>
    </message>
    <message>
        <source>Element &quot;keeps&quot; fehlt</source>
        <translation>element &quot;keeps&quot; missing</translation>
    </message>
    <message>
        <source>Eintrag %1 fehlt</source>
        <translation>entry %1 missing</translation>
    </message>
    <message>
        <source>Attribut &quot;%1&quot; fehlt bei Eintrag %2</source>
        <translation>attribute &quot;%1&quot; missing in entry %2</translation>
    </message>
    <message>
        <source>Attribut &quot;date&quot; fehlt</source>
        <translation>attribute &quot;date&quot; missing</translation>
    </message>
</context>
<context>
    <name>feed::SavedCopy</name>
    <message>
        <source>Datei ist eine Verknüpfung</source>
        <translation>file is a symbolic link</translation>
    </message>
    <message>
        <source>keine gewöhnliche Datei</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>Datei gehört einem anderen Benutzer</source>
        <translation>file belongs to another user</translation>
    </message>
    <message>
        <source>Datei größer als 8 MiB</source>
        <translation>file larger than 8 MiB</translation>
    </message>
    <message>
        <source>Datei nicht lesbar</source>
        <translation>file not readable</translation>
    </message>
</context>
<context>
    <name>history::ChangeListView</name>
    <message>
        <source>Änderungen im Zeitraum</source>
        <translation>Changes in the period</translation>
    </message>
</context>
<context>
    <name>history::ChangeText</name>
    <message>
        <source>Bauwerk %1</source>
        <translation>Structure %1</translation>
    </message>
    <message>
        <source>ohne Gilde</source>
        <translation>no guild</translation>
    </message>
    <message>
        <source>Zeit</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>Id</source>
        <translation>Id</translation>
    </message>
    <message>
        <source>Bauwerk</source>
        <translation>Structure</translation>
    </message>
    <message>
        <source>Reich vorher</source>
        <translation>Realm before</translation>
    </message>
    <message>
        <source>Reich nachher</source>
        <translation>Realm after</translation>
    </message>
    <message>
        <source>Gilde vorher</source>
        <translation>Guild before</translation>
    </message>
    <message>
        <source>Gilde nachher</source>
        <translation>Guild after</translation>
    </message>
    <message>
        <source>1 Tag</source>
        <translation>1 day</translation>
    </message>
    <message>
        <source>%1 Tage</source>
        <translation>%1 days</translation>
    </message>
    <message>
        <source>%1 Std.</source>
        <translation>%1 h</translation>
    </message>
    <message>
        <source>%1 Min.</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>mindestens %1</source>
        <translation>at least %1</translation>
    </message>
</context>
<context>
    <name>history::HistoryChart</name>
    <message>
        <source>Burgen und Türme der Reiche über die Zeit</source>
        <translation>The realms&apos; keeps and towers over time</translation>
    </message>
    <message>
        <source>Burgen</source>
        <translation>Keeps</translation>
    </message>
    <message>
        <source>Türme</source>
        <translation>Towers</translation>
    </message>
    <message>
        <source>%1: %2 Burgen, %3 Türme</source>
        <translation>%1: %2 keeps, %3 towers</translation>
    </message>
</context>
<context>
    <name>history::HistoryWindow</name>
    <message>
        <source>24 Stunden</source>
        <translation>24 hours</translation>
    </message>
    <message>
        <source>7 Tage</source>
        <translation>7 days</translation>
    </message>
    <message>
        <source>30 Tage</source>
        <translation>30 days</translation>
    </message>
    <message>
        <source>Alles</source>
        <translation>All</translation>
    </message>
    <message>
        <source>Warmap — Verlauf</source>
        <translation>Warmap — History</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>Exportieren …</source>
        <translation>Export …</translation>
    </message>
    <message>
        <source>Zeigen Sie auf die Kurven, um die Zahlen eines Zeitpunkts zu sehen.</source>
        <translation>Point at the curves to see the figures of a moment.</translation>
    </message>
    <message>
        <source>Karte zum gewählten Zeitpunkt</source>
        <translation>Map at the chosen moment</translation>
    </message>
    <message>
        <source>Zeitpunkt der Karte</source>
        <translation>Moment of the map</translation>
    </message>
    <message>
        <source>Kein Verlauf in diesem Lauf: </source>
        <translation>No history in this run: </translation>
    </message>
    <message>
        <source>Noch kein Verlauf für diesen Server</source>
        <translation>No history for this server yet</translation>
    </message>
    <message>
        <source>Dieser Zeitpunkt lässt sich aus dem Verlauf nicht wiederherstellen.</source>
        <translation>This moment cannot be rebuilt from the history.</translation>
    </message>
    <message>
        <source>%1 · Stand %2</source>
        <translation>%1 · as of %2</translation>
    </message>
    <message>
        <source> · Karte unvollständig: </source>
        <translation> · map incomplete: </translation>
    </message>
    <message>
        <source>%1 nach %2 geschrieben.</source>
        <translation>%1 written to %2.</translation>
    </message>
    <message>
        <source>1 Änderung</source>
        <translation>1 change</translation>
    </message>
    <message>
        <source>%1 Änderungen</source>
        <translation>%1 changes</translation>
    </message>
    <message>
        <source>warmap-verlauf-%1.csv</source>
        <translation>warmap-history-%1.csv</translation>
    </message>
    <message>
        <source>Verlauf exportieren</source>
        <translation>Export history</translation>
    </message>
    <message>
        <source>CSV-Dateien (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Der Verlauf ließ sich nicht nach %1 schreiben: %2</source>
        <translation>The history could not be written to %1: %2</translation>
    </message>
    <message>
        <source>Bauwerke mit den meisten Änderungen</source>
        <translation>Structures with the most changes</translation>
    </message>
    <message>
        <source>Bauwerk</source>
        <translation>Structure</translation>
    </message>
    <message>
        <source>Änderungen</source>
        <translation>Changes</translation>
    </message>
    <message>
        <source>Jetzt</source>
        <translation>Now</translation>
    </message>
    <message>
        <source>Längste Haltung</source>
        <translation>Longest hold</translation>
    </message>
    <message>
        <source>Klicken Sie auf ein Bauwerk, um seine Geschichte zu sehen.</source>
        <translation>Click a structure to see its story.</translation>
    </message>
    <message>
        <source>Geschichte eines Bauwerks</source>
        <translation>A structure&apos;s story</translation>
    </message>
    <message>
        <source>Am meisten umkämpft</source>
        <translation>Most contested</translation>
    </message>
    <message>
        <source>Zeigen Sie auf ein Bauwerk der Karte; ein Klick zeigt seine Geschichte.</source>
        <translation>Point at a structure on the map; a click shows its story.</translation>
    </message>
    <message>
        <source>nicht im Feed</source>
        <translation>not in the feed</translation>
    </message>
    <message>
        <source>Kein Bauwerk hat im gewählten Zeitraum den Halter gewechselt.</source>
        <translation>No structure changed hands in the chosen range.</translation>
    </message>
    <message>
        <source>%1: zu diesem Zeitpunkt nicht im Feed</source>
        <translation>%1: not in the feed at this moment</translation>
    </message>
    <message>
        <source> — meine Gilde</source>
        <translation> — my guild</translation>
    </message>
    <message>
        <source>%1: %2, seit %3</source>
        <translation>%1: %2, since %3</translation>
    </message>
    <message>
        <source>%1: %2, seit Beginn des Verlaufs</source>
        <translation>%1: %2, since the history began</translation>
    </message>
</context>
<context>
    <name>history::StoryBand</name>
    <message>
        <source>Halter im Lauf der Zeit</source>
        <translation>Holders over time</translation>
    </message>
</context>
<context>
    <name>history::StoryPanel</name>
    <message>
        <source>Bauwerk</source>
        <translation>Structure</translation>
    </message>
    <message>
        <source>Halter</source>
        <translation>Holders</translation>
    </message>
    <message>
        <source>Reich</source>
        <translation>Realm</translation>
    </message>
    <message>
        <source>Gilde</source>
        <translation>Guild</translation>
    </message>
    <message>
        <source>Beginn</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Ende</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Dauer</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>1 Änderung</source>
        <translation>1 change</translation>
    </message>
    <message>
        <source>%1 Änderungen</source>
        <translation>%1 changes</translation>
    </message>
    <message>
        <source>%1: %2, am längsten gehalten von %3 (%4)</source>
        <translation>%1: %2, held longest by %3 (%4)</translation>
    </message>
    <message>
        <source>%1: im gewählten Zeitraum nicht im Feed</source>
        <translation>%1: not in the feed in the chosen range</translation>
    </message>
    <message>
        <source>ohne Gilde</source>
        <translation>no guild</translation>
    </message>
    <message>
        <source>%1 oder früher</source>
        <translation>%1 or earlier</translation>
    </message>
    <message>
        <source>noch gehalten</source>
        <translation>still held</translation>
    </message>
</context>
<context>
    <name>keepmap::Hover</name>
    <message>
        <source> — meine Gilde</source>
        <translation> — my guild</translation>
    </message>
</context>
<context>
    <name>keepmap::KeepMap</name>
    <message>
        <source>ungültige id &quot;%1&quot; bei Eintrag %2</source>
        <translation>invalid id &quot;%1&quot; in entry %2</translation>
    </message>
    <message>
        <source>Datei nicht gefunden: %1</source>
        <translation>file not found: %1</translation>
    </message>
    <message>
        <source>id %1 außerhalb 0 bis %2</source>
        <translation>id %1 outside 0 to %2</translation>
    </message>
    <message>
        <source>Trefferfläche außerhalb der Karte bei id %1</source>
        <translation>hit area outside the map at id %1</translation>
    </message>
</context>
<context>
    <name>notify::ChangePopup</name>
    <message>
        <source>Warmap Frontbericht</source>
        <translation>Warmap frontier report</translation>
    </message>
    <message>
        <source>/form/splash/top.gif</source>
        <comment>the header picture, its caption drawn in it</comment>
        <translation>/form/splash/top_en.gif</translation>
    </message>
</context>
<context>
    <name>platform::Dialogs</name>
    <message>
        <source>Fehler: %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>Fehler</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>platform::Translations</name>
    <message>
        <source>Deutsch</source>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>settings::CommandLine</name>
    <message>
        <source>Watches who holds the keeps and towers of the frontier on four game servers, tells of every change
in a popup with a sound, and shows the frontier map.</source>
        <translation>Watches who holds the keeps and towers of the frontier on four game servers, tells of every change
in a popup with a sound, and shows the frontier map.</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Show this help and exit.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Show the version and exit.</translation>
    </message>
    <message>
        <source>Use the feed server at &lt;url&gt; (http or https, host, port) for this run, before WARMAP_FEED_BASE and the settings.</source>
        <translation>Use the feed server at &lt;url&gt; (http or https, host, port) for this run, before WARMAP_FEED_BASE and the settings.</translation>
    </message>
    <message>
        <source>Show the map window (of the running Warmap, if any).</source>
        <translation>Show the map window (of the running Warmap, if any).</translation>
    </message>
    <message>
        <source>Open the settings window (of the running Warmap, if any).</source>
        <translation>Open the settings window (of the running Warmap, if any).</translation>
    </message>
    <message>
        <source>Open the history window (of the running Warmap, if any).</source>
        <translation>Open the history window (of the running Warmap, if any).</translation>
    </message>
    <message>
        <source>Open the recent changes (of the running Warmap, if any).</source>
        <translation>Open the recent changes (of the running Warmap, if any).</translation>
    </message>
    <message>
        <source>End the running Warmap, as its menu&apos;s &quot;Beenden&quot; does; starts none.</source>
        <translation>End the running Warmap, as its menu&apos;s &quot;Quit&quot; does; starts none.</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>unexpected argument &apos;%1&apos;</translation>
    </message>
    <message>
        <source>%1 cannot be asked at once</source>
        <translation>%1 cannot be asked at once</translation>
    </message>
</context>
<context>
    <name>settings::FeedAddress</name>
    <message>
        <source>Warmap braucht die Adresse des Feed-Servers.</source>
        <translation>Warmap needs the feed server&apos;s address.</translation>
    </message>
    <message>
        <source>Die Feed-Adresse ist zu lang (höchstens %1 Zeichen).</source>
        <translation>The feed address is too long (%1 characters at most).</translation>
    </message>
    <message>
        <source>Die Feed-Adresse enthält Leerzeichen.</source>
        <translation>The feed address contains blanks.</translation>
    </message>
    <message>
        <source>Die Feed-Adresse muss mit http:// oder https:// beginnen.</source>
        <translation>The feed address must begin with http:// or https://.</translation>
    </message>
    <message>
        <source>Die Feed-Adresse nennt keinen Rechner.</source>
        <translation>The feed address names no host.</translation>
    </message>
    <message>
        <source>Die Feed-Adresse darf weder Benutzernamen noch Passwort enthalten.</source>
        <translation>The feed address must not contain a user name or password.</translation>
    </message>
    <message>
        <source>Die Feed-Adresse besteht nur aus Schema, Rechner und Port; der Pfad ist fest.</source>
        <translation>The feed address is only scheme, host and port; the path is fixed.</translation>
    </message>
    <message>
        <source>Der Port der Feed-Adresse muss eine Zahl von 1 bis 65535 sein.</source>
        <translation>The feed address&apos;s port must be a number from 1 to 65535.</translation>
    </message>
    <message>
        <source>der Kommandozeile (--feed-base)</source>
        <translation>the command line (--feed-base)</translation>
    </message>
    <message>
        <source>den Einstellungen</source>
        <translation>the settings</translation>
    </message>
    <message>
        <source>der Voreinstellung des Pakets</source>
        <translation>the package&apos;s default</translation>
    </message>
</context>
<context>
    <name>settings::SettingsDialog</name>
    <message>
        <source>Warmap — Einstellungen</source>
        <translation>Warmap — Settings</translation>
    </message>
    <message>
        <source>Feed-Adresse</source>
        <translation>Feed address</translation>
    </message>
    <message>
        <source>Prüfen</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>Dieser Lauf verwendet die Adresse aus %1; sie gilt vor der hier gespeicherten.</source>
        <translation>This run uses the address from %1; it comes before the one saved here.</translation>
    </message>
    <message>
        <source>Meldungen für</source>
        <translation>Notices for</translation>
    </message>
    <message>
        <source>Nur Meldungen, an denen dieses Reich beteiligt ist</source>
        <translation>Only notices this realm takes part in</translation>
    </message>
    <message>
        <source>alle Reiche</source>
        <translation>all realms</translation>
    </message>
    <message>
        <source>Ton bei Meldungen</source>
        <translation>Sound with notices</translation>
    </message>
    <message>
        <source>Sprache</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Wie das System</source>
        <translation>As the system</translation>
    </message>
    <message>
        <source>Gilt für Fenster, die danach geöffnet werden, ganz nach einem Neustart.</source>
        <translation>Applies to windows opened afterwards, fully after a restart.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Die Adresse aus %1 ist nicht zu gebrauchen: %2</source>
        <translation>The address from %1 cannot be used: %2</translation>
    </message>
    <message>
        <source>Warmap braucht die Adresse des Feed-Servers des Spiels: Schema, Rechner und Port, etwa &lt;nobr&gt;https://feed.example&lt;/nobr&gt;. „Prüfen“ holt einen Feed zur Probe; mit OK beginnt der erste Abgleich.</source>
        <translation>Warmap needs the address of the game&apos;s feed server: scheme, host and port, such as &lt;nobr&gt;https://feed.example&lt;/nobr&gt;. “Check” fetches one feed as a test; OK starts the first check of the frontier.</translation>
    </message>
    <message>
        <source>Es ist noch keine Feed-Adresse eingestellt; tragen Sie eine ein.</source>
        <translation>No feed address is set yet; please enter one.</translation>
    </message>
    <message>
        <source>%1 (aus %2)</source>
        <translation>%1 (from %2)</translation>
    </message>
    <message>
        <source>Prüfe %1 …</source>
        <translation>Checking %1 …</translation>
    </message>
    <message>
        <source>Meine Gilde</source>
        <translation>My guild</translation>
    </message>
    <message>
        <source>keine</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Nur Meldungen, an denen meine Gilde beteiligt ist</source>
        <translation>Only notices my guild takes part in</translation>
    </message>
    <message>
        <source>„%1“ kam im letzten Feed nicht vor.</source>
        <translation>“%1” was not in the last feed.</translation>
    </message>
</context>
<context>
    <name>settings::SettingsFile</name>
    <message>
        <source>Die Einstellungen lassen sich nicht speichern (%1): %2</source>
        <translation>The settings cannot be saved (%1): %2</translation>
    </message>
    <message>
        <source>INI-Text nicht geschrieben</source>
        <translation>INI text not written</translation>
    </message>
    <message>
        <source>Ordner fehlt</source>
        <translation>folder missing</translation>
    </message>
</context>
<context>
    <name>tray::Autostart</name>
    <message>
        <source>Die Datei %1 konnte nicht entfernt werden: %2</source>
        <translation>The file %1 could not be removed: %2</translation>
    </message>
    <message>
        <source>Der Ordner %1 konnte nicht angelegt werden: %2</source>
        <translation>The folder %1 could not be created: %2</translation>
    </message>
    <message>
        <source>Die Datei %1 konnte nicht geschrieben werden.</source>
        <translation>The file %1 could not be written.</translation>
    </message>
</context>
<context>
    <name>tray::NoTrayNote</name>
    <message>
        <source>Warmap wacht weiter im Hintergrund und meldet jede Änderung.

Diese Arbeitsumgebung zeigt kein Symbol von Warmap in einer Leiste. Zurück geht es über den Starter: Warmap erneut starten zeigt die Karte, seine Aktionen „Verlauf“, „Letzte Meldungen“, „Einstellungen“ und „Beenden“ tun, was sie sagen. Im Terminal geht dasselbe mit „warmap --show“, „--history“, „--recent“, „--settings“ und „warmap --quit“.</source>
        <translation>Warmap keeps watching in the background and tells of every change.

This desktop shows no Warmap icon in a panel. The way back is the launcher: starting Warmap again shows the map, and its actions “History”, “Recent changes”, “Settings” and “Quit” do what they say. In a terminal, “warmap --show”, “--history”, “--recent”, “--settings” and “warmap --quit” do the same.</translation>
    </message>
</context>
<context>
    <name>tray::RecentChangesLayout</name>
    <message>
        <source>1 Meldung</source>
        <translation>1 notice</translation>
    </message>
    <message>
        <source>%1 Meldungen</source>
        <translation>%1 notices</translation>
    </message>
</context>
<context>
    <name>tray::RecentChangesWindow</name>
    <message>
        <source>Seit dem Start hat noch kein Abgleich etwas geändert.</source>
        <translation>No check has changed anything since the start.</translation>
    </message>
    <message>
        <source>Letzte Meldungen</source>
        <translation>Recent changes</translation>
    </message>
    <message>
        <source>Warmap — Letzte Meldungen</source>
        <translation>Warmap — Recent changes</translation>
    </message>
</context>
<context>
    <name>tray::TrayIcon</name>
    <message>
        <source>Warmap
Noch kein Abgleich seit dem Start</source>
        <translation>Warmap
No check since the start yet</translation>
    </message>
    <message>
        <source>Warmap
Keine Feed-Adresse eingestellt</source>
        <translation>Warmap
No feed address set</translation>
    </message>
    <message>
        <source>keine Änderungen</source>
        <translation>no changes</translation>
    </message>
    <message>
        <source>1 Änderung</source>
        <translation>1 change</translation>
    </message>
    <message>
        <source>%1 Änderungen</source>
        <translation>%1 changes</translation>
    </message>
    <message>
        <source>Warmap
Letzter Abgleich %1: %2</source>
        <translation>Warmap
Last check %1: %2</translation>
    </message>
    <message>
        <source>Letzter Abgleich %1 %2</source>
        <translation>Last check %1 %2</translation>
    </message>
    <message>
        <source>fehlgeschlagen</source>
        <translation>failed</translation>
    </message>
    <message>
        <source>mit Fehlern</source>
        <translation>with errors</translation>
    </message>
    <message>
        <source> nicht abgefragt</source>
        <translation> not asked</translation>
    </message>
    <message>
        <source>Übrige Server: %1</source>
        <translation>Other servers: %1</translation>
    </message>
    <message>
        <source>Karte zeigen</source>
        <translation>Show map</translation>
    </message>
    <message>
        <source>Letzte Meldungen</source>
        <translation>Recent changes</translation>
    </message>
    <message>
        <source>Verlauf …</source>
        <translation>History …</translation>
    </message>
    <message>
        <source>Beim Anmelden starten</source>
        <translation>Start at login</translation>
    </message>
    <message>
        <source>Einstellungen …</source>
        <translation>Settings …</translation>
    </message>
    <message>
        <source>Beenden</source>
        <translation>Quit</translation>
    </message>
</context>
<context>
    <name>warmap::MapWindow</name>
    <message>
        <source>keine Angabe</source>
        <translation>nothing shown</translation>
    </message>
    <message>
        <source>Stand der Karte</source>
        <translation>Map as of</translation>
    </message>
    <message>
        <source>Festung unter dem Mauszeiger</source>
        <translation>Structure under the pointer</translation>
    </message>
    <message>
        <source>Karte der Grenzlande</source>
        <translation>Map of the frontier</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>ORSKA-Zeitstempel</source>
        <translation>ORSKA time stamp</translation>
    </message>
    <message>
        <source>schliessen</source>
        <translation>close</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>minimieren</source>
        <translation>minimise</translation>
    </message>
    <message>
        <source>Minimieren</source>
        <translation>Minimise</translation>
    </message>
    <message>
        <source>noch keine daten geladen für diesen Server</source>
        <translation>No data loaded for this server yet</translation>
    </message>
</context>
<context>
    <name>warmap::Skin</name>
    <message>
        <source>Datei fehlt oder ist nicht lesbar: %1</source>
        <translation>file missing or not readable: %1</translation>
    </message>
    <message>
        <source>Überlauf: die Bilder des Fensterrahmens in %1 sind zu groß</source>
        <translation>overflow: the window frame&apos;s pictures in %1 are too large</translation>
    </message>
</context>
</TS>
