<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>QGnomeTheme</name>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>brightsum::Engine</name>
    <message>
        <source>Game Over</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Game over! Your final score is %1.</source>
        <extracomment>%1 is the final score, a number: &quot;Game over! Your final score is 5400.&quot;</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High Score</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Congratulations! You got a High Score! Please enter your name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High Scores</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High scores cannot be saved on this computer. This game&apos;s score is kept until Brightsum is closed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right answer.</source>
        <extracomment>Read out by screen readers after a right pair.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong answer. Try again.</source>
        <extracomment>Read out by screen readers after a wrong pair.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time is up.</source>
        <extracomment>Read out by screen readers when a question runs out of time.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Game over. Your final score is %1.</source>
        <extracomment>Read out by screen readers. %1 is the final score, a number.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
