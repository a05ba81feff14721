<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk_UA" sourcelanguage="en">
<context>
    <name>QGnomeTheme</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;Гаразд</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Скасувати</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Повернути</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>П&amp;овторити</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Ви&amp;різати</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Копіювати</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Вставити</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Видалити</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Виділити все</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>Гаразд</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Скасувати</translation>
    </message>
</context>
<context>
    <name>brightsum::AboutWindow</name>
    <message>
        <source>For news and more information, visit our web site:</source>
        <extracomment>One line above the web address: at most 385 pixels, about 65 letters.</extracomment>
        <translation>Новини та більше інформації — на нашому сайті:</translation>
    </message>
    <message>
        <source>web site link</source>
        <translation>посилання на сайт</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 The Brightsum developers. License: GPL-3.0-or-later.</source>
        <extracomment>One line: at most 385 pixels, about 65 letters. Keep &quot;GPL-3.0-or-later&quot; as it is.</extracomment>
        <translation>Copyright (C) 2026 Автори Brightsum. Ліцензія: GPL-3.0-or-later.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Гаразд</translation>
    </message>
    <message>
        <source>About Sumbright</source>
        <translation>Про Sumbright</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <extracomment>%1.%2.%3 is the version number, such as 1.0.0.</extracomment>
        <translation>Версія %1.%2.%3</translation>
    </message>
    <message>
        <source>Warning: this program is protected by copyright law and international treaties. You may copy, change and pass it on only under the terms of the GNU General Public License, version 3 or later; copying or passing on this program, or any part of it, in any other way may lead to civil and criminal penalties.</source>
        <extracomment>Wrapped over at most 5 lines of 369 pixels: no longer than the English text.</extracomment>
        <translation>Увага: програму захищено законом про авторське право та міжнародними угодами. Копіювати, змінювати й поширювати її можна лише на умовах GNU General Public License версії 3 або новішої; копіювання чи поширення програми або її частини в інший спосіб може тягти за собою цивільну та кримінальну відповідальність.</translation>
    </message>
    <message>
        <source>No web browser could be started to open %1</source>
        <translation>Не вдалося запустити браузер, щоб відкрити %1</translation>
    </message>
</context>
<context>
    <name>brightsum::CueDescriptions</name>
    <message>
        <source>Button picked</source>
        <extracomment>The name of a sound as the desktop&apos;s sound mixer lists it.</extracomment>
        <translation>Кнопку вибрано</translation>
    </message>
    <message>
        <source>Right answer</source>
        <translation>Правильна відповідь</translation>
    </message>
    <message>
        <source>Wrong answer</source>
        <translation>Неправильна відповідь</translation>
    </message>
    <message>
        <source>Time is up</source>
        <translation>Час вийшов</translation>
    </message>
    <message>
        <source>Game over</source>
        <translation>Гру закінчено</translation>
    </message>
    <message>
        <source>New high score</source>
        <translation>Новий рекорд</translation>
    </message>
    <message>
        <source>High scores</source>
        <translation>Рекорди</translation>
    </message>
</context>
<context>
    <name>brightsum::Engine</name>
    <message>
        <source>Game Over</source>
        <translation>Гру закінчено</translation>
    </message>
    <message>
        <source>Game over! Your final score is %1.</source>
        <extracomment>%1 is the final score, a number: &quot;Game over! Your final score is 5400.&quot;</extracomment>
        <translation>Гру закінчено! Твій результат: %1.</translation>
    </message>
    <message>
        <source>High Score</source>
        <translation>Новий рекорд</translation>
    </message>
    <message>
        <source>Congratulations! You got a High Score! Please enter your name.</source>
        <translation>Вітаємо! У тебе рекорд! Напиши своє ім’я.</translation>
    </message>
    <message>
        <source>High Scores</source>
        <translation>Рекорди</translation>
    </message>
    <message>
        <source>High scores cannot be saved on this computer. This game&apos;s score is kept until Brightsum is closed.</source>
        <translation>На цьому комп’ютері не вдається зберегти рекорди. Результат цієї гри збережеться, доки Brightsum не буде закрито.</translation>
    </message>
    <message>
        <source>Time is up.</source>
        <extracomment>Read out by screen readers when a question runs out of time.</extracomment>
        <translation>Час вийшов.</translation>
    </message>
    <message>
        <source>Game over. Your final score is %1.</source>
        <extracomment>Read out by screen readers. %1 is the final score, a number.</extracomment>
        <translation>Гру закінчено. Твій результат: %1.</translation>
    </message>
    <message>
        <source>Question %1. Make %2 with plus.</source>
        <extracomment>Read out by screen readers when a question appears, and again on F5. %1 is the question&apos;s number (1 to 10), %2 the number to make by adding two numbers of the board.</extracomment>
        <translation>Питання %1. Склади %2 з плюсом.</translation>
    </message>
    <message>
        <source>Question %1. Make %2 with minus.</source>
        <extracomment>The same for a subtraction question: the first number picked minus the second.</extracomment>
        <translation>Питання %1. Склади %2 з мінусом.</translation>
    </message>
    <message>
        <source>You picked %1.</source>
        <extracomment>Read out by screen readers when a first number is picked; %1 is the number.</extracomment>
        <translation>Твій вибір: %1.</translation>
    </message>
    <message numerus="yes">
        <source>Right! %n points.</source>
        <extracomment>Read out by screen readers after a right pair, with the points it won (0 to 1000 in steps of 50). Keep it short: the next question comes a second later and cuts it off.</extracomment>
        <translation>
            <numerusform>Правильно! %n бал.</numerusform>
            <numerusform>Правильно! %n бали.</numerusform>
            <numerusform>Правильно! %n балів.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 plus %2 does not make %3. Try again.</source>
        <extracomment>Read out by screen readers after a wrong pair: %1 and %2 are the numbers picked, %3 the number they should have made by adding.</extracomment>
        <translation>%1 плюс %2 — це не %3. Спробуй ще раз.</translation>
    </message>
    <message>
        <source>%1 minus %2 does not make %3. Try again.</source>
        <extracomment>The same for a subtraction: %1 minus %2, the first number picked minus the second.</extracomment>
        <translation>%1 мінус %2 — це не %3. Спробуй ще раз.</translation>
    </message>
    <message numerus="yes">
        <source>%n seconds left.</source>
        <extracomment>Read out by screen readers a few seconds before a question runs out, and on F5 with the question. Never said for fewer than 2 seconds.</extracomment>
        <translation>
            <numerusform>Залишилася %n секунда.</numerusform>
            <numerusform>Залишилося %n секунди.</numerusform>
            <numerusform>Залишилося %n секунд.</numerusform>
        </translation>
    </message>
    <message>
        <source>Time is almost up.</source>
        <extracomment>Read out by screen readers on F5 when less than two seconds of the question are left.</extracomment>
        <translation>Час майже вийшов.</translation>
    </message>
    <message numerus="yes">
        <source>You have %n points.</source>
        <extracomment>Read out by screen readers on F5 after the question: the points of the game so far.</extracomment>
        <translation>
            <numerusform>У тебе %n бал.</numerusform>
            <numerusform>У тебе %n бали.</numerusform>
            <numerusform>У тебе %n балів.</numerusform>
        </translation>
    </message>
    <message>
        <source>No game yet. Choose Addition or Subtraction in the menu bar.</source>
        <extracomment>Read out by screen readers on F5 while no game runs. Name the two menus as the menu bar does, without their &quot;&amp;&quot;.</extracomment>
        <translation>Гри ще немає. Вибери Додавання або Віднімання в рядку меню.</translation>
    </message>
</context>
<context>
    <name>brightsum::HelpLauncher</name>
    <message>
        <source>The help page %1 is missing or cannot be read.</source>
        <translation>Сторінка довідки %1 відсутня або її неможливо прочитати.</translation>
    </message>
</context>
<context>
    <name>brightsum::HelpViewer</name>
    <message>
        <source>Brightsum help</source>
        <translation>Довідка Brightsum</translation>
    </message>
    <message>
        <source>No program could be started to open %1</source>
        <translation>Не вдалося запустити програму, щоб відкрити %1</translation>
    </message>
    <message>
        <source>%1, link</source>
        <extracomment>Read out by screen readers when Tab reaches a link of the help page; %1 is the link&apos;s text.</extracomment>
        <translation>%1, посилання</translation>
    </message>
</context>
<context>
    <name>brightsum::HighScoreWindow</name>
    <message>
        <source>High Scores</source>
        <translation>Рекорди</translation>
    </message>
    <message>
        <source>Okay</source>
        <extracomment>The button that closes the high-score window: about 12 letters at most.</extracomment>
        <translation>Гаразд</translation>
    </message>
    <message>
        <source>Name</source>
        <extracomment>Header of the list of names in the high-score window: about 16 letters at most.</extracomment>
        <translation>Ім’я</translation>
    </message>
    <message>
        <source>Score</source>
        <extracomment>Header of the list of scores in the high-score window: about 10 letters at most.</extracomment>
        <translation>Бали</translation>
    </message>
    <message>
        <source>Level</source>
        <extracomment>Header of the list of levels (1 to 5) in the high-score window: about 8 letters at most.</extracomment>
        <translation>Рівень</translation>
    </message>
    <message>
        <source>%1. %2, level %3</source>
        <translation>%1. %2, рівень %3</translation>
    </message>
    <message>
        <source>%1. %2, %3, level %4</source>
        <translation>%1. %2, %3, рівень %4</translation>
    </message>
</context>
<context>
    <name>brightsum::MainWindow</name>
    <message>
        <source>first number</source>
        <translation>перше число</translation>
    </message>
    <message>
        <source>operation sign</source>
        <translation>знак дії</translation>
    </message>
    <message>
        <source>second number</source>
        <translation>друге число</translation>
    </message>
    <message>
        <source>equals sign</source>
        <translation>знак рівності</translation>
    </message>
    <message>
        <source>target number</source>
        <translation>цільове число</translation>
    </message>
    <message>
        <source>Total Points:</source>
        <extracomment>Status line, before the score. At most 73 pixels wide in bold: about 12 letters.</extracomment>
        <translation>Бали:</translation>
    </message>
    <message>
        <source>caption of the score</source>
        <translation>підпис балів</translation>
    </message>
    <message>
        <source>score</source>
        <translation>бали</translation>
    </message>
    <message>
        <source>Question Value:</source>
        <extracomment>Status line, before what the question is still worth. At most 97 pixels wide in bold: about 16 letters.</extracomment>
        <translation>Ціна питання:</translation>
    </message>
    <message>
        <source>caption of the question value</source>
        <translation>підпис ціни питання</translation>
    </message>
    <message>
        <source>question value</source>
        <translation>ціна питання</translation>
    </message>
    <message>
        <source>Question #:</source>
        <extracomment>Status line, before the number of the question (1 to 10). At most 73 pixels wide in bold: about 12 letters.</extracomment>
        <translation>Питання:</translation>
    </message>
    <message>
        <source>caption of the question number</source>
        <translation>підпис номера питання</translation>
    </message>
    <message>
        <source>question number</source>
        <translation>номер питання</translation>
    </message>
    <message>
        <source>Level:</source>
        <extracomment>Status line, before the level (1 to 5). At most 49 pixels wide in bold: about 8 letters.</extracomment>
        <translation>Рівень:</translation>
    </message>
    <message>
        <source>caption of the level</source>
        <translation>підпис рівня</translation>
    </message>
    <message>
        <source>level</source>
        <translation>рівень</translation>
    </message>
    <message>
        <source>row %1, column %2</source>
        <extracomment>Read out by screen readers for a board button: &quot;row 2, column 5&quot;.</extracomment>
        <translation>рядок %1, стовпець %2</translation>
    </message>
    <message>
        <source>New Game</source>
        <translation>Нова гра</translation>
    </message>
    <message>
        <source>Start Level &amp;%1</source>
        <extracomment>Menu entry that starts a game; %1 is the level, 1 to 5, and its access key.</extracomment>
        <translation>Почати рівень &amp;%1</translation>
    </message>
    <message>
        <source>&amp;Addition</source>
        <translation>&amp;Додавання</translation>
    </message>
    <message>
        <source>&amp;Subtraction</source>
        <translation>&amp;Віднімання</translation>
    </message>
    <message>
        <source>&amp;High Scores</source>
        <extracomment>On the menu bar; its access key may be the same as that of &quot;&amp;Help&quot;.</extracomment>
        <translation>&amp;Рекорди</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Д&amp;овідка</translation>
    </message>
    <message>
        <source>&amp;Information and Instructions</source>
        <translation>&amp;Інформація та інструкції</translation>
    </message>
    <message>
        <source>&amp;About Sumbright</source>
        <translation>&amp;Про Sumbright</translation>
    </message>
</context>
</TS>
