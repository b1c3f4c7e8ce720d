<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>LumetClass</name>
    <message>
        <source>No ARDEX RGB DRAM module(s) found on your computer system!

Program will be terminated.</source>
        <translation>Auf Ihrem Computersystem wurden keine ARDEX-RGB-DRAM-Module gefunden!

Das Programm wird beendet.</translation>
    </message>
    <message>
        <source>APPLY</source>
        <translation>ANWENDEN</translation>
    </message>
    <message>
        <source>UNDO</source>
        <translation>RÜCKGÄNGIG</translation>
    </message>
    <message>
        <source>DEFAULT</source>
        <translation>STANDARD</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Switch all LEDs on or off</source>
        <translation>Alle LEDs ein- oder ausschalten</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Static</source>
        <translation>Statisch</translation>
    </message>
    <message>
        <source>Breathing</source>
        <translation>Atmen</translation>
    </message>
    <message>
        <source>Strobing</source>
        <translation>Blitzen</translation>
    </message>
    <message>
        <source>Color Cycle</source>
        <translation>Farbwechsel</translation>
    </message>
    <message>
        <source>Rainbow</source>
        <translation>Regenbogen</translation>
    </message>
    <message>
        <source>Comet</source>
        <translation>Komet</translation>
    </message>
    <message>
        <source>Double Comet</source>
        <translation>Doppelkomet</translation>
    </message>
    <message>
        <source>Wave</source>
        <translation>Welle</translation>
    </message>
    <message>
        <source>Color Wave</source>
        <translation>Farbwelle</translation>
    </message>
    <message>
        <source>Ripple</source>
        <translation>Kräuseln</translation>
    </message>
    <message>
        <source>Random Strobe</source>
        <translation>Zufallsblitzen</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatur</translation>
    </message>
    <message>
        <source>Music</source>
        <translation>Musik</translation>
    </message>
    <message>
        <source>Sleep</source>
        <translation>Schlafmodus</translation>
    </message>
    <message>
        <source>Plain</source>
        <translation>Einfarbig</translation>
    </message>
    <message>
        <source>Gradient</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>Across all devices</source>
        <translation>Über alle Geräte</translation>
    </message>
    <message>
        <source>SPEED</source>
        <translation>TEMPO</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Schnell</translation>
    </message>
    <message>
        <source>Slow</source>
        <translation>Langsam</translation>
    </message>
    <message>
        <source>Cycle</source>
        <translation>Zyklus</translation>
    </message>
    <message>
        <source>MODE</source>
        <translation>MODUS</translation>
    </message>
    <message>
        <source>This effect does not require user input. Select APPLY to activate the effect.</source>
        <translation>Dieser Effekt braucht keine Eingaben. Wählen Sie ANWENDEN, um ihn zu aktivieren.</translation>
    </message>
    <message>
        <source>If selected, the motherboard LEDs will not light up in sleep, hibernate and soft off states.</source>
        <translation>Wenn ausgewählt, bleiben die Mainboard-LEDs im Energiesparmodus, im Ruhezustand und im Soft-Off-Zustand dunkel.</translation>
    </message>
    <message>
        <source>[Unknown effect]</source>
        <translation>[Unbekannter Effekt]</translation>
    </message>
    <message>
        <source>COLOR</source>
        <translation>FARBE</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>Umkehren</translation>
    </message>
    <message>
        <source>From %1 at the left to %2 at the right.</source>
        <translation>Von %1 links bis %2 rechts.</translation>
    </message>
    <message>
        <source>LED. The color palette colors the picked LED; Left and Right pick the next one.</source>
        <translation>LED. Die Farbpalette färbt die gewählte LED; Links und Rechts wählen die benachbarte.</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Color palette</source>
        <translation>Farbpalette</translation>
    </message>
    <message>
        <source>Left and Right turn the hue; Up and Down make the color darker or lighter.</source>
        <translation>Links und Rechts drehen den Farbton; Hoch und Runter machen die Farbe dunkler oder heller.</translation>
    </message>
    <message>
        <source>Left and Right move the end of the color range; Up and Down move its start.</source>
        <translation>Links und Rechts verschieben das Ende des Farbbereichs, Hoch und Runter seinen Anfang.</translation>
    </message>
    <message>
        <source>Left and Right turn the hue.</source>
        <translation>Links und Rechts drehen den Farbton.</translation>
    </message>
    <message>
        <source>Closes the panel.</source>
        <translation>Schließt das Programm.</translation>
    </message>
    <message>
        <source>All LEDs</source>
        <translation>Alle LEDs</translation>
    </message>
    <message>
        <source>Sends the chosen effect and its colors to the lighting.</source>
        <translation>Überträgt den gewählten Effekt mit seinen Farben an die Beleuchtung.</translation>
    </message>
    <message>
        <source>Returns the lighting to its defaults.</source>
        <translation>Setzt die Beleuchtung auf die Standardwerte zurück.</translation>
    </message>
    <message>
        <source>Drops the changes not yet applied.</source>
        <translation>Verwirft die noch nicht angewendeten Änderungen.</translation>
    </message>
    <message>
        <source>Previous LEDs</source>
        <translation>Vorige LEDs</translation>
    </message>
    <message>
        <source>Next LEDs</source>
        <translation>Nächste LEDs</translation>
    </message>
    <message>
        <source>Color for all LEDs</source>
        <translation>Farbe für alle LEDs</translation>
    </message>
    <message>
        <source>Gives every LED the color of the picked LED.</source>
        <translation>Gibt jeder LED die Farbe der gewählten LED.</translation>
    </message>
</context>
<context>
    <name>LumetClass_Alt</name>
    <message>
        <source>Rock</source>
        <translation>Rock</translation>
    </message>
    <message>
        <source>Hip Hop</source>
        <translation>Hip-Hop</translation>
    </message>
    <message>
        <source>Party</source>
        <translation>Party</translation>
    </message>
    <message>
        <source>Sleep</source>
        <translation>Schlaf</translation>
    </message>
    <message>
        <source>Funk</source>
        <translation>Funk</translation>
    </message>
    <message>
        <source>Romance</source>
        <translation>Romantik</translation>
    </message>
    <message>
        <source>Jazz</source>
        <translation>Jazz</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Static</source>
        <translation>Statisch</translation>
    </message>
</context>
</TS>
