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
</context>
</TS>
