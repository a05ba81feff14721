<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>QGnomeTheme</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>Wieder&amp;herstellen</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>Einf&amp;ügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>brightsum::AboutWindow</name>
    <message>
        <source>For news and more information, visit our web site:</source>
        <extracomment>One line above the web address: at most 385 pixels, about 65 letters.</extracomment>
        <translation>Neuigkeiten und weitere Informationen auf unserer Website:</translation>
    </message>
    <message>
        <source>web site link</source>
        <translation>Link zur Website</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 The Brightsum developers. License: GPL-3.0-or-later.</source>
        <extracomment>One line: at most 385 pixels, about 65 letters. Keep &quot;GPL-3.0-or-later&quot; as it is.</extracomment>
        <translation>Copyright (C) 2026 Das Brightsum-Team. Lizenz: GPL-3.0-or-later.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About Sumbright</source>
        <translation>Über Sumbright</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <extracomment>%1.%2.%3 is the version number, such as 1.0.0.</extracomment>
        <translation>Version %1.%2.%3</translation>
    </message>
    <message>
        <source>Warning: this program is protected by copyright law and international treaties. You may copy, change and pass it on only under the terms of the GNU General Public License, version 3 or later; copying or passing on this program, or any part of it, in any other way may lead to civil and criminal penalties.</source>
        <extracomment>Wrapped over at most 5 lines of 369 pixels: no longer than the English text.</extracomment>
        <translation>Warnung: Dieses Programm ist durch Urheberrecht und internationale Verträge geschützt. Kopieren, Ändern und Weitergeben ist nur nach der GNU General Public License, Version 3 oder später, erlaubt; jedes andere Kopieren oder Weitergeben, auch von Teilen, kann zivil- und strafrechtlich verfolgt werden.</translation>
    </message>
    <message>
        <source>No web browser could be started to open %1</source>
        <translation>Es konnte kein Webbrowser gestartet werden, um %1 zu öffnen.</translation>
    </message>
</context>
<context>
    <name>brightsum::CueDescriptions</name>
    <message>
        <source>Button picked</source>
        <extracomment>The name of a sound as the desktop&apos;s sound mixer lists it.</extracomment>
        <translation>Knopf gewählt</translation>
    </message>
    <message>
        <source>Right answer</source>
        <translation>Richtige Antwort</translation>
    </message>
    <message>
        <source>Wrong answer</source>
        <translation>Falsche Antwort</translation>
    </message>
    <message>
        <source>Time is up</source>
        <translation>Zeit ist um</translation>
    </message>
    <message>
        <source>Game over</source>
        <translation>Spiel vorbei</translation>
    </message>
    <message>
        <source>New high score</source>
        <translation>Neuer Rekord</translation>
    </message>
    <message>
        <source>High scores</source>
        <translation>Bestenliste</translation>
    </message>
</context>
<context>
    <name>brightsum::Engine</name>
    <message>
        <source>Game Over</source>
        <translation>Spiel vorbei</translation>
    </message>
    <message>
        <source>Game over! Your final score is %1.</source>
        <extracomment>%1 is the final score, a number: &quot;Game over! Your final score is 5400.&quot;</extracomment>
        <translation>Spiel vorbei! Du hast %1 Punkte.</translation>
    </message>
    <message>
        <source>High Score</source>
        <translation>Neuer Rekord</translation>
    </message>
    <message>
        <source>Congratulations! You got a High Score! Please enter your name.</source>
        <translation>Glückwunsch! Du kommst in die Bestenliste! Bitte gib deinen Namen ein.</translation>
    </message>
    <message>
        <source>High Scores</source>
        <translation>Bestenliste</translation>
    </message>
    <message>
        <source>High scores cannot be saved on this computer. This game&apos;s score is kept until Brightsum is closed.</source>
        <translation>Die Bestenliste kann auf diesem Computer nicht gespeichert werden. Die Punkte aus diesem Spiel bleiben erhalten, bis Brightsum geschlossen wird.</translation>
    </message>
    <message>
        <source>Time is up.</source>
        <extracomment>Read out by screen readers when a question runs out of time.</extracomment>
        <translation>Die Zeit ist um.</translation>
    </message>
    <message>
        <source>Game over. Your final score is %1.</source>
        <extracomment>Read out by screen readers. %1 is the final score, a number.</extracomment>
        <translation>Spiel vorbei. Du hast %1 Punkte.</translation>
    </message>
    <message>
        <source>Question %1. Make %2 with plus.</source>
        <extracomment>Read out by screen readers when a question appears, and again on F5. %1 is the question&apos;s number (1 to 10), %2 the number to make by adding two numbers of the board.</extracomment>
        <translation>Frage %1. Mach %2 mit Plus.</translation>
    </message>
    <message>
        <source>Question %1. Make %2 with minus.</source>
        <extracomment>The same for a subtraction question: the first number picked minus the second.</extracomment>
        <translation>Frage %1. Mach %2 mit Minus.</translation>
    </message>
    <message>
        <source>You picked %1.</source>
        <extracomment>Read out by screen readers when a first number is picked; %1 is the number.</extracomment>
        <translation>Du hast %1 gewählt.</translation>
    </message>
    <message numerus="yes">
        <source>Right! %n points.</source>
        <extracomment>Read out by screen readers after a right pair, with the points it won (0 to 1000 in steps of 50). Keep it short: the next question comes a second later and cuts it off.</extracomment>
        <translation>
            <numerusform>Richtig! %n Punkt.</numerusform>
            <numerusform>Richtig! %n Punkte.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 plus %2 does not make %3. Try again.</source>
        <extracomment>Read out by screen readers after a wrong pair: %1 and %2 are the numbers picked, %3 the number they should have made by adding.</extracomment>
        <translation>%1 plus %2 gibt nicht %3. Versuch es noch einmal.</translation>
    </message>
    <message>
        <source>%1 minus %2 does not make %3. Try again.</source>
        <extracomment>The same for a subtraction: %1 minus %2, the first number picked minus the second.</extracomment>
        <translation>%1 minus %2 gibt nicht %3. Versuch es noch einmal.</translation>
    </message>
    <message numerus="yes">
        <source>%n seconds left.</source>
        <extracomment>Read out by screen readers a few seconds before a question runs out, and on F5 with the question. Never said for fewer than 2 seconds.</extracomment>
        <translation>
            <numerusform>Noch %n Sekunde.</numerusform>
            <numerusform>Noch %n Sekunden.</numerusform>
        </translation>
    </message>
    <message>
        <source>Time is almost up.</source>
        <extracomment>Read out by screen readers on F5 when less than two seconds of the question are left.</extracomment>
        <translation>Die Zeit ist gleich um.</translation>
    </message>
    <message numerus="yes">
        <source>You have %n points.</source>
        <extracomment>Read out by screen readers on F5 after the question: the points of the game so far.</extracomment>
        <translation>
            <numerusform>Du hast %n Punkt.</numerusform>
            <numerusform>Du hast %n Punkte.</numerusform>
        </translation>
    </message>
    <message>
        <source>No game yet. Choose Addition or Subtraction in the menu bar.</source>
        <extracomment>Read out by screen readers on F5 while no game runs. Name the two menus as the menu bar does, without their &quot;&amp;&quot;.</extracomment>
        <translation>Noch kein Spiel. Wähle Plusaufgaben oder Minusaufgaben in der Menüleiste.</translation>
    </message>
</context>
<context>
    <name>brightsum::HelpLauncher</name>
    <message>
        <source>The help page %1 is missing or cannot be read.</source>
        <translation>Die Hilfeseite %1 fehlt oder kann nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>brightsum::HelpViewer</name>
    <message>
        <source>Brightsum help</source>
        <translation>Brightsum-Hilfe</translation>
    </message>
    <message>
        <source>No program could be started to open %1</source>
        <translation>Es konnte kein Programm gestartet werden, um %1 zu öffnen.</translation>
    </message>
    <message>
        <source>%1, link</source>
        <extracomment>Read out by screen readers when Tab reaches a link of the help page; %1 is the link&apos;s text.</extracomment>
        <translation>%1, Link</translation>
    </message>
</context>
<context>
    <name>brightsum::HighScoreWindow</name>
    <message>
        <source>High Scores</source>
        <translation>Bestenliste</translation>
    </message>
    <message>
        <source>Okay</source>
        <extracomment>The button that closes the high-score window: about 12 letters at most.</extracomment>
        <translation>OK</translation>
    </message>
    <message>
        <source>Name</source>
        <extracomment>Header of the list of names in the high-score window: about 16 letters at most.</extracomment>
        <translation>Name</translation>
    </message>
    <message>
        <source>Score</source>
        <extracomment>Header of the list of scores in the high-score window: about 10 letters at most.</extracomment>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>Level</source>
        <extracomment>Header of the list of levels (1 to 5) in the high-score window: about 8 letters at most.</extracomment>
        <translation>Stufe</translation>
    </message>
    <message>
        <source>%1. %2, level %3</source>
        <translation>%1. %2, Stufe %3</translation>
    </message>
    <message>
        <source>%1. %2, %3, level %4</source>
        <translation>%1. %2, %3, Stufe %4</translation>
    </message>
</context>
<context>
    <name>brightsum::MainWindow</name>
    <message>
        <source>first number</source>
        <translation>erste Zahl</translation>
    </message>
    <message>
        <source>operation sign</source>
        <translation>Rechenzeichen</translation>
    </message>
    <message>
        <source>second number</source>
        <translation>zweite Zahl</translation>
    </message>
    <message>
        <source>equals sign</source>
        <translation>Gleichheitszeichen</translation>
    </message>
    <message>
        <source>target number</source>
        <translation>Zielzahl</translation>
    </message>
    <message>
        <source>Total Points:</source>
        <extracomment>Status line, before the score. At most 73 pixels wide in bold: about 12 letters.</extracomment>
        <translation>Punkte:</translation>
    </message>
    <message>
        <source>caption of the score</source>
        <translation>Beschriftung der Punktzahl</translation>
    </message>
    <message>
        <source>score</source>
        <translation>Punktzahl</translation>
    </message>
    <message>
        <source>Question Value:</source>
        <extracomment>Status line, before what the question is still worth. At most 97 pixels wide in bold: about 16 letters.</extracomment>
        <translation>Zu gewinnen:</translation>
    </message>
    <message>
        <source>caption of the question value</source>
        <translation>Beschriftung des Aufgabenwerts</translation>
    </message>
    <message>
        <source>question value</source>
        <translation>Aufgabenwert</translation>
    </message>
    <message>
        <source>Question #:</source>
        <extracomment>Status line, before the number of the question (1 to 10). At most 73 pixels wide in bold: about 12 letters.</extracomment>
        <translation>Aufgabe:</translation>
    </message>
    <message>
        <source>caption of the question number</source>
        <translation>Beschriftung der Aufgabennummer</translation>
    </message>
    <message>
        <source>question number</source>
        <translation>Aufgabennummer</translation>
    </message>
    <message>
        <source>Level:</source>
        <extracomment>Status line, before the level (1 to 5). At most 49 pixels wide in bold: about 8 letters.</extracomment>
        <translation>Stufe:</translation>
    </message>
    <message>
        <source>caption of the level</source>
        <translation>Beschriftung der Stufe</translation>
    </message>
    <message>
        <source>level</source>
        <translation>Stufe</translation>
    </message>
    <message>
        <source>row %1, column %2</source>
        <extracomment>Read out by screen readers for a board button: &quot;row 2, column 5&quot;.</extracomment>
        <translation>Reihe %1, Spalte %2</translation>
    </message>
    <message>
        <source>New Game</source>
        <translation>Neues Spiel</translation>
    </message>
    <message>
        <source>Start Level &amp;%1</source>
        <extracomment>Menu entry that starts a game; %1 is the level, 1 to 5, and its access key.</extracomment>
        <translation>Stufe &amp;%1 starten</translation>
    </message>
    <message>
        <source>&amp;Addition</source>
        <translation>&amp;Plusaufgaben</translation>
    </message>
    <message>
        <source>&amp;Subtraction</source>
        <translation>&amp;Minusaufgaben</translation>
    </message>
    <message>
        <source>&amp;High Scores</source>
        <extracomment>On the menu bar; its access key may be the same as that of &quot;&amp;Help&quot;.</extracomment>
        <translation>&amp;Bestenliste</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Information and Instructions</source>
        <translation>&amp;Informationen und Anleitung</translation>
    </message>
    <message>
        <source>&amp;About Sumbright</source>
        <translation>Ü&amp;ber Sumbright</translation>
    </message>
</context>
</TS>
