<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL" sourcelanguage="en">
<context>
    <name>QGnomeTheme</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Anuluj</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Cofnij</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Przywróć</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>W&amp;ytnij</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>S&amp;kopiuj</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Wklej</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Usuń</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Zaznacz wszystko</translation>
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
        <translation>Anuluj</translation>
    </message>
</context>
<context>
    <name>brightsum::AboutWindow</name>
    <message>
        <source>For news and more information, visit our web site:</source>
        <extracomment>One line above the web address: at most 385 pixels, about 65 letters.</extracomment>
        <translation>Nowości i więcej informacji znajdziesz na naszej stronie:</translation>
    </message>
    <message>
        <source>web site link</source>
        <translation>link do strony internetowej</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 The Brightsum developers. License: GPL-3.0-or-later.</source>
        <extracomment>One line: at most 385 pixels, about 65 letters. Keep &quot;GPL-3.0-or-later&quot; as it is.</extracomment>
        <translation>Copyright (C) 2026 Twórcy Brightsum. Licencja: GPL-3.0-or-later.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About Sumbright</source>
        <translation>O programie Sumbright</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <extracomment>%1.%2.%3 is the version number, such as 1.0.0.</extracomment>
        <translation>Wersja %1.%2.%3</translation>
    </message>
    <message>
        <source>Warning: this program is protected by copyright law and international treaties. You may copy, change and pass it on only under the terms of the GNU General Public License, version 3 or later; copying or passing on this program, or any part of it, in any other way may lead to civil and criminal penalties.</source>
        <extracomment>Wrapped over at most 5 lines of 369 pixels: no longer than the English text.</extracomment>
        <translation>Uwaga: program jest chroniony prawem autorskim i umowami międzynarodowymi. Wolno go kopiować, zmieniać i przekazywać tylko na warunkach licencji GNU General Public License w wersji 3 lub nowszej; kopiowanie lub przekazywanie go lub jego części w inny sposób grozi odpowiedzialnością cywilną i karną.</translation>
    </message>
    <message>
        <source>No web browser could be started to open %1</source>
        <translation>Nie udało się uruchomić przeglądarki internetowej, aby otworzyć %1</translation>
    </message>
</context>
<context>
    <name>brightsum::CueDescriptions</name>
    <message>
        <source>Button picked</source>
        <extracomment>The name of a sound as the desktop&apos;s sound mixer lists it.</extracomment>
        <translation>Wybrano przycisk</translation>
    </message>
    <message>
        <source>Right answer</source>
        <translation>Dobra odpowiedź</translation>
    </message>
    <message>
        <source>Wrong answer</source>
        <translation>Zła odpowiedź</translation>
    </message>
    <message>
        <source>Time is up</source>
        <translation>Koniec czasu</translation>
    </message>
    <message>
        <source>Game over</source>
        <translation>Koniec gry</translation>
    </message>
    <message>
        <source>New high score</source>
        <translation>Nowy najlepszy wynik</translation>
    </message>
    <message>
        <source>High scores</source>
        <translation>Najlepsze wyniki</translation>
    </message>
</context>
<context>
    <name>brightsum::Engine</name>
    <message>
        <source>Game Over</source>
        <translation>Koniec gry</translation>
    </message>
    <message>
        <source>Game over! Your final score is %1.</source>
        <extracomment>%1 is the final score, a number: &quot;Game over! Your final score is 5400.&quot;</extracomment>
        <translation>Koniec gry! Twój wynik końcowy: %1.</translation>
    </message>
    <message>
        <source>High Score</source>
        <translation>Najlepszy wynik</translation>
    </message>
    <message>
        <source>Congratulations! You got a High Score! Please enter your name.</source>
        <translation>Gratulacje! Masz jeden z najlepszych wyników! Wpisz swoje imię.</translation>
    </message>
    <message>
        <source>High Scores</source>
        <translation>Najlepsze wyniki</translation>
    </message>
    <message>
        <source>High scores cannot be saved on this computer. This game&apos;s score is kept until Brightsum is closed.</source>
        <translation>Na tym komputerze nie można zapisać najlepszych wyników. Wynik tej gry zostanie zapamiętany do zamknięcia programu Brightsum.</translation>
    </message>
    <message>
        <source>Time is up.</source>
        <extracomment>Read out by screen readers when a question runs out of time.</extracomment>
        <translation>Koniec czasu.</translation>
    </message>
    <message>
        <source>Game over. Your final score is %1.</source>
        <extracomment>Read out by screen readers. %1 is the final score, a number.</extracomment>
        <translation>Koniec gry. Twój wynik końcowy: %1.</translation>
    </message>
    <message>
        <source>Question %1. Make %2 with plus.</source>
        <extracomment>Read out by screen readers when a question appears, and again on F5. %1 is the question&apos;s number (1 to 10), %2 the number to make by adding two numbers of the board.</extracomment>
        <translation>Pytanie %1. Ułóż %2 z plusem.</translation>
    </message>
    <message>
        <source>Question %1. Make %2 with minus.</source>
        <extracomment>The same for a subtraction question: the first number picked minus the second.</extracomment>
        <translation>Pytanie %1. Ułóż %2 z minusem.</translation>
    </message>
    <message>
        <source>You picked %1.</source>
        <extracomment>Read out by screen readers when a first number is picked; %1 is the number.</extracomment>
        <translation>Twój wybór: %1.</translation>
    </message>
    <message numerus="yes">
        <source>Right! %n points.</source>
        <extracomment>Read out by screen readers after a right pair, with the points it won (0 to 1000 in steps of 50). Keep it short: the next question comes a second later and cuts it off.</extracomment>
        <translation>
            <numerusform>Dobrze! %n punkt.</numerusform>
            <numerusform>Dobrze! %n punkty.</numerusform>
            <numerusform>Dobrze! %n punktów.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 plus %2 does not make %3. Try again.</source>
        <extracomment>Read out by screen readers after a wrong pair: %1 and %2 are the numbers picked, %3 the number they should have made by adding.</extracomment>
        <translation>%1 plus %2 to nie %3. Spróbuj jeszcze raz.</translation>
    </message>
    <message>
        <source>%1 minus %2 does not make %3. Try again.</source>
        <extracomment>The same for a subtraction: %1 minus %2, the first number picked minus the second.</extracomment>
        <translation>%1 minus %2 to nie %3. Spróbuj jeszcze raz.</translation>
    </message>
    <message numerus="yes">
        <source>%n seconds left.</source>
        <extracomment>Read out by screen readers a few seconds before a question runs out, and on F5 with the question. Never said for fewer than 2 seconds.</extracomment>
        <translation>
            <numerusform>Została %n sekunda.</numerusform>
            <numerusform>Zostały %n sekundy.</numerusform>
            <numerusform>Zostało %n sekund.</numerusform>
        </translation>
    </message>
    <message>
        <source>Time is almost up.</source>
        <extracomment>Read out by screen readers on F5 when less than two seconds of the question are left.</extracomment>
        <translation>Czas prawie minął.</translation>
    </message>
    <message numerus="yes">
        <source>You have %n points.</source>
        <extracomment>Read out by screen readers on F5 after the question: the points of the game so far.</extracomment>
        <translation>
            <numerusform>Masz %n punkt.</numerusform>
            <numerusform>Masz %n punkty.</numerusform>
            <numerusform>Masz %n punktów.</numerusform>
        </translation>
    </message>
    <message>
        <source>No game yet. Choose Addition or Subtraction in the menu bar.</source>
        <extracomment>Read out by screen readers on F5 while no game runs. Name the two menus as the menu bar does, without their &quot;&amp;&quot;.</extracomment>
        <translation>Jeszcze nie ma gry. Wybierz Dodawanie albo Odejmowanie na pasku menu.</translation>
    </message>
</context>
<context>
    <name>brightsum::HelpLauncher</name>
    <message>
        <source>The help page %1 is missing or cannot be read.</source>
        <translation>Brakuje strony pomocy %1 lub nie można jej odczytać.</translation>
    </message>
</context>
<context>
    <name>brightsum::HelpViewer</name>
    <message>
        <source>Brightsum help</source>
        <translation>Brightsum – pomoc</translation>
    </message>
    <message>
        <source>No program could be started to open %1</source>
        <translation>Nie udało się uruchomić programu, aby otworzyć %1</translation>
    </message>
    <message>
        <source>%1, link</source>
        <extracomment>Read out by screen readers when Tab reaches a link of the help page; %1 is the link&apos;s text.</extracomment>
        <translation>%1, łącze</translation>
    </message>
</context>
<context>
    <name>brightsum::HighScoreWindow</name>
    <message>
        <source>High Scores</source>
        <translation>Najlepsze wyniki</translation>
    </message>
    <message>
        <source>Okay</source>
        <extracomment>The button that closes the high-score window: about 12 letters at most.</extracomment>
        <translation>OK</translation>
    </message>
    <message>
        <source>Name</source>
        <extracomment>Header of the list of names in the high-score window: about 16 letters at most.</extracomment>
        <translation>Imię</translation>
    </message>
    <message>
        <source>Score</source>
        <extracomment>Header of the list of scores in the high-score window: about 10 letters at most.</extracomment>
        <translation>Wynik</translation>
    </message>
    <message>
        <source>Level</source>
        <extracomment>Header of the list of levels (1 to 5) in the high-score window: about 8 letters at most.</extracomment>
        <translation>Poziom</translation>
    </message>
    <message>
        <source>%1. %2, level %3</source>
        <translation>%1. %2, poziom %3</translation>
    </message>
    <message>
        <source>%1. %2, %3, level %4</source>
        <translation>%1. %2, %3, poziom %4</translation>
    </message>
</context>
<context>
    <name>brightsum::MainWindow</name>
    <message>
        <source>first number</source>
        <translation>pierwsza liczba</translation>
    </message>
    <message>
        <source>operation sign</source>
        <translation>znak działania</translation>
    </message>
    <message>
        <source>second number</source>
        <translation>druga liczba</translation>
    </message>
    <message>
        <source>equals sign</source>
        <translation>znak równości</translation>
    </message>
    <message>
        <source>target number</source>
        <translation>liczba docelowa</translation>
    </message>
    <message>
        <source>Total Points:</source>
        <extracomment>Status line, before the score. At most 73 pixels wide in bold: about 12 letters.</extracomment>
        <translation>Punkty:</translation>
    </message>
    <message>
        <source>caption of the score</source>
        <translation>opis wyniku</translation>
    </message>
    <message>
        <source>score</source>
        <translation>wynik</translation>
    </message>
    <message>
        <source>Question Value:</source>
        <extracomment>Status line, before what the question is still worth. At most 97 pixels wide in bold: about 16 letters.</extracomment>
        <translation>Do zdobycia:</translation>
    </message>
    <message>
        <source>caption of the question value</source>
        <translation>opis wartości pytania</translation>
    </message>
    <message>
        <source>question value</source>
        <translation>wartość pytania</translation>
    </message>
    <message>
        <source>Question #:</source>
        <extracomment>Status line, before the number of the question (1 to 10). At most 73 pixels wide in bold: about 12 letters.</extracomment>
        <translation>Pytanie:</translation>
    </message>
    <message>
        <source>caption of the question number</source>
        <translation>opis numeru pytania</translation>
    </message>
    <message>
        <source>question number</source>
        <translation>numer pytania</translation>
    </message>
    <message>
        <source>Level:</source>
        <extracomment>Status line, before the level (1 to 5). At most 49 pixels wide in bold: about 8 letters.</extracomment>
        <translation>Poziom:</translation>
    </message>
    <message>
        <source>caption of the level</source>
        <translation>opis poziomu</translation>
    </message>
    <message>
        <source>level</source>
        <translation>poziom</translation>
    </message>
    <message>
        <source>row %1, column %2</source>
        <extracomment>Read out by screen readers for a board button: &quot;row 2, column 5&quot;.</extracomment>
        <translation>wiersz %1, kolumna %2</translation>
    </message>
    <message>
        <source>New Game</source>
        <translation>Nowa gra</translation>
    </message>
    <message>
        <source>Start Level &amp;%1</source>
        <extracomment>Menu entry that starts a game; %1 is the level, 1 to 5, and its access key.</extracomment>
        <translation>Zacznij poziom &amp;%1</translation>
    </message>
    <message>
        <source>&amp;Addition</source>
        <translation>&amp;Dodawanie</translation>
    </message>
    <message>
        <source>&amp;Subtraction</source>
        <translation>&amp;Odejmowanie</translation>
    </message>
    <message>
        <source>&amp;High Scores</source>
        <extracomment>On the menu bar; its access key may be the same as that of &quot;&amp;Help&quot;.</extracomment>
        <translation>&amp;Najlepsze wyniki</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Pomoc</translation>
    </message>
    <message>
        <source>&amp;Information and Instructions</source>
        <translation>&amp;Informacje i instrukcje</translation>
    </message>
    <message>
        <source>&amp;About Sumbright</source>
        <translation>&amp;O programie Sumbright</translation>
    </message>
</context>
</TS>
