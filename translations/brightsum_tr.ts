<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="tr_TR" sourcelanguage="en">
<context>
    <name>QGnomeTheme</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;Tamam</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>İ&amp;ptal</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Geri al</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Yinele</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Ke&amp;s</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopyala</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>Ya&amp;pıştır</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Sil</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Tümünü seç</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>Tamam</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>İptal</translation>
    </message>
</context>
<context>
    <name>brightsum::AboutWindow</name>
    <message>
        <source>For news and more information, visit our web site:</source>
        <extracomment>One line above the web address: at most 385 pixels, about 65 letters.</extracomment>
        <translation>Haberler ve daha fazla bilgi için web sitemizi ziyaret edin:</translation>
    </message>
    <message>
        <source>web site link</source>
        <translation>web sitesi bağlantısı</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 The Brightsum developers. License: GPL-3.0-or-later.</source>
        <extracomment>One line: at most 385 pixels, about 65 letters. Keep &quot;GPL-3.0-or-later&quot; as it is.</extracomment>
        <translation>Copyright (C) 2026 Brightsum ekibi. Lisans: GPL-3.0-or-later.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Tamam</translation>
    </message>
    <message>
        <source>About Sumbright</source>
        <translation>Sumbright hakkında</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <extracomment>%1.%2.%3 is the version number, such as 1.0.0.</extracomment>
        <translation>Sürüm %1.%2.%3</translation>
    </message>
    <message>
        <source>Warning: this program is protected by copyright law and international treaties. You may copy, change and pass it on only under the terms of the GNU General Public License, version 3 or later; copying or passing on this program, or any part of it, in any other way may lead to civil and criminal penalties.</source>
        <extracomment>Wrapped over at most 5 lines of 369 pixels: no longer than the English text.</extracomment>
        <translation>Uyarı: Bu program telif hakkı yasası ve uluslararası anlaşmalarla korunur. Yalnızca GNU General Public License, sürüm 3 veya sonrası koşullarıyla kopyalanabilir, değiştirilebilir ve dağıtılabilir; tamamen ya da kısmen başka yolla kopyalanması veya dağıtılması hukuki ve cezai yaptırım doğurabilir.</translation>
    </message>
    <message>
        <source>No web browser could be started to open %1</source>
        <translation>Şunu açmak için hiçbir web tarayıcısı başlatılamadı: %1</translation>
    </message>
</context>
<context>
    <name>brightsum::CueDescriptions</name>
    <message>
        <source>Button picked</source>
        <extracomment>The name of a sound as the desktop&apos;s sound mixer lists it.</extracomment>
        <translation>Düğme seçildi</translation>
    </message>
    <message>
        <source>Right answer</source>
        <translation>Doğru cevap</translation>
    </message>
    <message>
        <source>Wrong answer</source>
        <translation>Yanlış cevap</translation>
    </message>
    <message>
        <source>Time is up</source>
        <translation>Süre doldu</translation>
    </message>
    <message>
        <source>Game over</source>
        <translation>Oyun bitti</translation>
    </message>
    <message>
        <source>New high score</source>
        <translation>Yeni rekor</translation>
    </message>
    <message>
        <source>High scores</source>
        <translation>Rekorlar</translation>
    </message>
</context>
<context>
    <name>brightsum::Engine</name>
    <message>
        <source>Game Over</source>
        <translation>Oyun bitti</translation>
    </message>
    <message>
        <source>Game over! Your final score is %1.</source>
        <extracomment>%1 is the final score, a number: &quot;Game over! Your final score is 5400.&quot;</extracomment>
        <translation>Oyun bitti! Toplam puanın: %1.</translation>
    </message>
    <message>
        <source>High Score</source>
        <translation>Yeni rekor</translation>
    </message>
    <message>
        <source>Congratulations! You got a High Score! Please enter your name.</source>
        <translation>Tebrikler! Rekorlar listesine girdin! Lütfen adını yaz.</translation>
    </message>
    <message>
        <source>High Scores</source>
        <translation>Rekorlar</translation>
    </message>
    <message>
        <source>High scores cannot be saved on this computer. This game&apos;s score is kept until Brightsum is closed.</source>
        <translation>Rekorlar bu bilgisayara kaydedilemiyor. Bu oyunun puanı Brightsum kapanana kadar saklanır.</translation>
    </message>
    <message>
        <source>Time is up.</source>
        <extracomment>Read out by screen readers when a question runs out of time.</extracomment>
        <translation>Süre doldu.</translation>
    </message>
    <message>
        <source>Game over. Your final score is %1.</source>
        <extracomment>Read out by screen readers. %1 is the final score, a number.</extracomment>
        <translation>Oyun bitti. Toplam puanın: %1.</translation>
    </message>
    <message>
        <source>Question %1. Make %2 with plus.</source>
        <extracomment>Read out by screen readers when a question appears, and again on F5. %1 is the question&apos;s number (1 to 10), %2 the number to make by adding two numbers of the board.</extracomment>
        <translation>Soru %1. Artı ile %2 yap.</translation>
    </message>
    <message>
        <source>Question %1. Make %2 with minus.</source>
        <extracomment>The same for a subtraction question: the first number picked minus the second.</extracomment>
        <translation>Soru %1. Eksi ile %2 yap.</translation>
    </message>
    <message>
        <source>You picked %1.</source>
        <extracomment>Read out by screen readers when a first number is picked; %1 is the number.</extracomment>
        <translation>%1 seçtin.</translation>
    </message>
    <message numerus="yes">
        <source>Right! %n points.</source>
        <extracomment>Read out by screen readers after a right pair, with the points it won (0 to 1000 in steps of 50). Keep it short: the next question comes a second later and cuts it off.</extracomment>
        <translation>
            <numerusform>Doğru! %n puan.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 plus %2 does not make %3. Try again.</source>
        <extracomment>Read out by screen readers after a wrong pair: %1 and %2 are the numbers picked, %3 the number they should have made by adding.</extracomment>
        <translation>%1 artı %2, %3 etmez. Yeniden dene.</translation>
    </message>
    <message>
        <source>%1 minus %2 does not make %3. Try again.</source>
        <extracomment>The same for a subtraction: %1 minus %2, the first number picked minus the second.</extracomment>
        <translation>%1 eksi %2, %3 etmez. Yeniden dene.</translation>
    </message>
    <message numerus="yes">
        <source>%n seconds left.</source>
        <extracomment>Read out by screen readers a few seconds before a question runs out, and on F5 with the question. Never said for fewer than 2 seconds.</extracomment>
        <translation>
            <numerusform>%n saniye kaldı.</numerusform>
        </translation>
    </message>
    <message>
        <source>Time is almost up.</source>
        <extracomment>Read out by screen readers on F5 when less than two seconds of the question are left.</extracomment>
        <translation>Süre bitmek üzere.</translation>
    </message>
    <message numerus="yes">
        <source>You have %n points.</source>
        <extracomment>Read out by screen readers on F5 after the question: the points of the game so far.</extracomment>
        <translation>
            <numerusform>%n puanın var.</numerusform>
        </translation>
    </message>
    <message>
        <source>No game yet. Choose Addition or Subtraction in the menu bar.</source>
        <extracomment>Read out by screen readers on F5 while no game runs. Name the two menus as the menu bar does, without their &quot;&amp;&quot;.</extracomment>
        <translation>Henüz oyun yok. Menü çubuğundan Toplama ya da Çıkarma&apos;yı seç.</translation>
    </message>
</context>
<context>
    <name>brightsum::HelpLauncher</name>
    <message>
        <source>The help page %1 is missing or cannot be read.</source>
        <translation>Yardım sayfası %1 eksik ya da okunamıyor.</translation>
    </message>
</context>
<context>
    <name>brightsum::HelpViewer</name>
    <message>
        <source>Brightsum help</source>
        <translation>Brightsum yardımı</translation>
    </message>
    <message>
        <source>No program could be started to open %1</source>
        <translation>Şunu açmak için hiçbir program başlatılamadı: %1</translation>
    </message>
    <message>
        <source>%1, link</source>
        <extracomment>Read out by screen readers when Tab reaches a link of the help page; %1 is the link&apos;s text.</extracomment>
        <translation>%1, bağlantı</translation>
    </message>
</context>
<context>
    <name>brightsum::HighScoreWindow</name>
    <message>
        <source>High Scores</source>
        <translation>Rekorlar</translation>
    </message>
    <message>
        <source>Okay</source>
        <extracomment>The button that closes the high-score window: about 12 letters at most.</extracomment>
        <translation>Tamam</translation>
    </message>
    <message>
        <source>Name</source>
        <extracomment>Header of the list of names in the high-score window: about 16 letters at most.</extracomment>
        <translation>İsim</translation>
    </message>
    <message>
        <source>Score</source>
        <extracomment>Header of the list of scores in the high-score window: about 10 letters at most.</extracomment>
        <translation>Puan</translation>
    </message>
    <message>
        <source>Level</source>
        <extracomment>Header of the list of levels (1 to 5) in the high-score window: about 8 letters at most.</extracomment>
        <translation>Seviye</translation>
    </message>
    <message>
        <source>%1. %2, level %3</source>
        <translation>%1. %2, seviye %3</translation>
    </message>
    <message>
        <source>%1. %2, %3, level %4</source>
        <translation>%1. %2, %3, seviye %4</translation>
    </message>
</context>
<context>
    <name>brightsum::MainWindow</name>
    <message>
        <source>first number</source>
        <translation>birinci sayı</translation>
    </message>
    <message>
        <source>operation sign</source>
        <translation>işlem işareti</translation>
    </message>
    <message>
        <source>second number</source>
        <translation>ikinci sayı</translation>
    </message>
    <message>
        <source>equals sign</source>
        <translation>eşittir işareti</translation>
    </message>
    <message>
        <source>target number</source>
        <translation>hedef sayı</translation>
    </message>
    <message>
        <source>Total Points:</source>
        <extracomment>Status line, before the score. At most 73 pixels wide in bold: about 12 letters.</extracomment>
        <translation>Puan:</translation>
    </message>
    <message>
        <source>caption of the score</source>
        <translation>puan etiketi</translation>
    </message>
    <message>
        <source>score</source>
        <translation>puan</translation>
    </message>
    <message>
        <source>Question Value:</source>
        <extracomment>Status line, before what the question is still worth. At most 97 pixels wide in bold: about 16 letters.</extracomment>
        <translation>Soru değeri:</translation>
    </message>
    <message>
        <source>caption of the question value</source>
        <translation>soru değeri etiketi</translation>
    </message>
    <message>
        <source>question value</source>
        <translation>soru değeri</translation>
    </message>
    <message>
        <source>Question #:</source>
        <extracomment>Status line, before the number of the question (1 to 10). At most 73 pixels wide in bold: about 12 letters.</extracomment>
        <translation>Soru:</translation>
    </message>
    <message>
        <source>caption of the question number</source>
        <translation>soru numarası etiketi</translation>
    </message>
    <message>
        <source>question number</source>
        <translation>soru numarası</translation>
    </message>
    <message>
        <source>Level:</source>
        <extracomment>Status line, before the level (1 to 5). At most 49 pixels wide in bold: about 8 letters.</extracomment>
        <translation>Seviye:</translation>
    </message>
    <message>
        <source>caption of the level</source>
        <translation>seviye etiketi</translation>
    </message>
    <message>
        <source>level</source>
        <translation>seviye</translation>
    </message>
    <message>
        <source>row %1, column %2</source>
        <extracomment>Read out by screen readers for a board button: &quot;row 2, column 5&quot;.</extracomment>
        <translation>satır %1, sütun %2</translation>
    </message>
    <message>
        <source>New Game</source>
        <translation>Yeni oyun</translation>
    </message>
    <message>
        <source>Start Level &amp;%1</source>
        <extracomment>Menu entry that starts a game; %1 is the level, 1 to 5, and its access key.</extracomment>
        <translation>Seviye &amp;%1 ile başla</translation>
    </message>
    <message>
        <source>&amp;Addition</source>
        <translation>&amp;Toplama</translation>
    </message>
    <message>
        <source>&amp;Subtraction</source>
        <translation>Çı&amp;karma</translation>
    </message>
    <message>
        <source>&amp;High Scores</source>
        <extracomment>On the menu bar; its access key may be the same as that of &quot;&amp;Help&quot;.</extracomment>
        <translation>&amp;Rekorlar</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Yardım</translation>
    </message>
    <message>
        <source>&amp;Information and Instructions</source>
        <translation>&amp;Bilgi ve yönergeler</translation>
    </message>
    <message>
        <source>&amp;About Sumbright</source>
        <translation>&amp;Sumbright hakkında</translation>
    </message>
</context>
</TS>
