<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES" sourcelanguage="en">
<context>
    <name>QGnomeTheme</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;Aceptar</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Deshacer</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rehacer</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Cor&amp;tar</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copiar</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Pegar</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Seleccionar todo</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>brightsum::AboutWindow</name>
    <message>
        <source>For news and more information, visit our web site:</source>
        <extracomment>One line above the web address: at most 385 pixels, about 65 letters.</extracomment>
        <translation>Noticias y más información en nuestro sitio web:</translation>
    </message>
    <message>
        <source>web site link</source>
        <translation>enlace al sitio web</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 The Brightsum developers. License: GPL-3.0-or-later.</source>
        <extracomment>One line: at most 385 pixels, about 65 letters. Keep &quot;GPL-3.0-or-later&quot; as it is.</extracomment>
        <translation>Copyright (C) 2026 El equipo de Brightsum. Licencia: GPL-3.0-or-later.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>About Sumbright</source>
        <translation>Acerca de Sumbright</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <extracomment>%1.%2.%3 is the version number, such as 1.0.0.</extracomment>
        <translation>Versión %1.%2.%3</translation>
    </message>
    <message>
        <source>Warning: this program is protected by copyright law and international treaties. You may copy, change and pass it on only under the terms of the GNU General Public License, version 3 or later; copying or passing on this program, or any part of it, in any other way may lead to civil and criminal penalties.</source>
        <extracomment>Wrapped over at most 5 lines of 369 pixels: no longer than the English text.</extracomment>
        <translation>Aviso: este programa está protegido por la ley de derechos de autor y tratados internacionales. Solo puede copiarse, modificarse y distribuirse según la GNU General Public License, versión 3 o posterior; copiarlo o distribuirlo, entero o en parte, de otro modo puede acarrear sanciones civiles y penales.</translation>
    </message>
    <message>
        <source>No web browser could be started to open %1</source>
        <translation>No se pudo iniciar ningún navegador web para abrir %1</translation>
    </message>
</context>
<context>
    <name>brightsum::CueDescriptions</name>
    <message>
        <source>Button picked</source>
        <extracomment>The name of a sound as the desktop&apos;s sound mixer lists it.</extracomment>
        <translation>Botón elegido</translation>
    </message>
    <message>
        <source>Right answer</source>
        <translation>Respuesta correcta</translation>
    </message>
    <message>
        <source>Wrong answer</source>
        <translation>Respuesta incorrecta</translation>
    </message>
    <message>
        <source>Time is up</source>
        <translation>Se acabó el tiempo</translation>
    </message>
    <message>
        <source>Game over</source>
        <translation>Fin de la partida</translation>
    </message>
    <message>
        <source>New high score</source>
        <translation>Nuevo récord</translation>
    </message>
    <message>
        <source>High scores</source>
        <translation>Mejores puntuaciones</translation>
    </message>
</context>
<context>
    <name>brightsum::Engine</name>
    <message>
        <source>Game Over</source>
        <translation>Fin de la partida</translation>
    </message>
    <message>
        <source>Game over! Your final score is %1.</source>
        <extracomment>%1 is the final score, a number: &quot;Game over! Your final score is 5400.&quot;</extracomment>
        <translation>¡Fin de la partida! Has conseguido %1 puntos.</translation>
    </message>
    <message>
        <source>High Score</source>
        <translation>Nuevo récord</translation>
    </message>
    <message>
        <source>Congratulations! You got a High Score! Please enter your name.</source>
        <translation>¡Felicidades! ¡Has entrado en las mejores puntuaciones! Escribe tu nombre, por favor.</translation>
    </message>
    <message>
        <source>High Scores</source>
        <translation>Mejores puntuaciones</translation>
    </message>
    <message>
        <source>High scores cannot be saved on this computer. This game&apos;s score is kept until Brightsum is closed.</source>
        <translation>No se pueden guardar las mejores puntuaciones en este ordenador. Los puntos de esta partida se conservan hasta que se cierre Brightsum.</translation>
    </message>
    <message>
        <source>Time is up.</source>
        <extracomment>Read out by screen readers when a question runs out of time.</extracomment>
        <translation>Se acabó el tiempo.</translation>
    </message>
    <message>
        <source>Game over. Your final score is %1.</source>
        <extracomment>Read out by screen readers. %1 is the final score, a number.</extracomment>
        <translation>Fin de la partida. Has conseguido %1 puntos.</translation>
    </message>
    <message>
        <source>Question %1. Make %2 with plus.</source>
        <extracomment>Read out by screen readers when a question appears, and again on F5. %1 is the question&apos;s number (1 to 10), %2 the number to make by adding two numbers of the board.</extracomment>
        <translation>Pregunta %1. Consigue %2 con más.</translation>
    </message>
    <message>
        <source>Question %1. Make %2 with minus.</source>
        <extracomment>The same for a subtraction question: the first number picked minus the second.</extracomment>
        <translation>Pregunta %1. Consigue %2 con menos.</translation>
    </message>
    <message>
        <source>You picked %1.</source>
        <extracomment>Read out by screen readers when a first number is picked; %1 is the number.</extracomment>
        <translation>Has elegido %1.</translation>
    </message>
    <message numerus="yes">
        <source>Right! %n points.</source>
        <extracomment>Read out by screen readers after a right pair, with the points it won (0 to 1000 in steps of 50). Keep it short: the next question comes a second later and cuts it off.</extracomment>
        <translation>
            <numerusform>¡Correcto! %n punto.</numerusform>
            <numerusform>¡Correcto! %n puntos.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 plus %2 does not make %3. Try again.</source>
        <extracomment>Read out by screen readers after a wrong pair: %1 and %2 are the numbers picked, %3 the number they should have made by adding.</extracomment>
        <translation>%1 más %2 no da %3. Inténtalo otra vez.</translation>
    </message>
    <message>
        <source>%1 minus %2 does not make %3. Try again.</source>
        <extracomment>The same for a subtraction: %1 minus %2, the first number picked minus the second.</extracomment>
        <translation>%1 menos %2 no da %3. Inténtalo otra vez.</translation>
    </message>
    <message numerus="yes">
        <source>%n seconds left.</source>
        <extracomment>Read out by screen readers a few seconds before a question runs out, and on F5 with the question. Never said for fewer than 2 seconds.</extracomment>
        <translation>
            <numerusform>Queda %n segundo.</numerusform>
            <numerusform>Quedan %n segundos.</numerusform>
        </translation>
    </message>
    <message>
        <source>Time is almost up.</source>
        <extracomment>Read out by screen readers on F5 when less than two seconds of the question are left.</extracomment>
        <translation>Se acaba el tiempo.</translation>
    </message>
    <message numerus="yes">
        <source>You have %n points.</source>
        <extracomment>Read out by screen readers on F5 after the question: the points of the game so far.</extracomment>
        <translation>
            <numerusform>Tienes %n punto.</numerusform>
            <numerusform>Tienes %n puntos.</numerusform>
        </translation>
    </message>
    <message>
        <source>No game yet. Choose Addition or Subtraction in the menu bar.</source>
        <extracomment>Read out by screen readers on F5 while no game runs. Name the two menus as the menu bar does, without their &quot;&amp;&quot;.</extracomment>
        <translation>Todavía no hay partida. Elige Suma o Resta en la barra de menús.</translation>
    </message>
</context>
<context>
    <name>brightsum::HelpLauncher</name>
    <message>
        <source>The help page %1 is missing or cannot be read.</source>
        <translation>La página de ayuda %1 no existe o no se puede leer.</translation>
    </message>
</context>
<context>
    <name>brightsum::HelpViewer</name>
    <message>
        <source>Brightsum help</source>
        <translation>Ayuda de Brightsum</translation>
    </message>
    <message>
        <source>No program could be started to open %1</source>
        <translation>No se pudo iniciar ningún programa para abrir %1</translation>
    </message>
    <message>
        <source>%1, link</source>
        <extracomment>Read out by screen readers when Tab reaches a link of the help page; %1 is the link&apos;s text.</extracomment>
        <translation>%1, enlace</translation>
    </message>
</context>
<context>
    <name>brightsum::HighScoreWindow</name>
    <message>
        <source>High Scores</source>
        <translation>Mejores puntuaciones</translation>
    </message>
    <message>
        <source>Okay</source>
        <extracomment>The button that closes the high-score window: about 12 letters at most.</extracomment>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Name</source>
        <extracomment>Header of the list of names in the high-score window: about 16 letters at most.</extracomment>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Score</source>
        <extracomment>Header of the list of scores in the high-score window: about 10 letters at most.</extracomment>
        <translation>Puntos</translation>
    </message>
    <message>
        <source>Level</source>
        <extracomment>Header of the list of levels (1 to 5) in the high-score window: about 8 letters at most.</extracomment>
        <translation>Nivel</translation>
    </message>
    <message>
        <source>%1. %2, level %3</source>
        <translation>%1. %2, nivel %3</translation>
    </message>
    <message>
        <source>%1. %2, %3, level %4</source>
        <translation>%1. %2, %3, nivel %4</translation>
    </message>
</context>
<context>
    <name>brightsum::MainWindow</name>
    <message>
        <source>first number</source>
        <translation>primer número</translation>
    </message>
    <message>
        <source>operation sign</source>
        <translation>signo de la operación</translation>
    </message>
    <message>
        <source>second number</source>
        <translation>segundo número</translation>
    </message>
    <message>
        <source>equals sign</source>
        <translation>signo igual</translation>
    </message>
    <message>
        <source>target number</source>
        <translation>número objetivo</translation>
    </message>
    <message>
        <source>Total Points:</source>
        <extracomment>Status line, before the score. At most 73 pixels wide in bold: about 12 letters.</extracomment>
        <translation>Puntos:</translation>
    </message>
    <message>
        <source>caption of the score</source>
        <translation>rótulo de los puntos</translation>
    </message>
    <message>
        <source>score</source>
        <translation>puntos</translation>
    </message>
    <message>
        <source>Question Value:</source>
        <extracomment>Status line, before what the question is still worth. At most 97 pixels wide in bold: about 16 letters.</extracomment>
        <translation>En juego:</translation>
    </message>
    <message>
        <source>caption of the question value</source>
        <translation>rótulo del valor de la pregunta</translation>
    </message>
    <message>
        <source>question value</source>
        <translation>valor de la pregunta</translation>
    </message>
    <message>
        <source>Question #:</source>
        <extracomment>Status line, before the number of the question (1 to 10). At most 73 pixels wide in bold: about 12 letters.</extracomment>
        <translation>Pregunta:</translation>
    </message>
    <message>
        <source>caption of the question number</source>
        <translation>rótulo del número de pregunta</translation>
    </message>
    <message>
        <source>question number</source>
        <translation>número de pregunta</translation>
    </message>
    <message>
        <source>Level:</source>
        <extracomment>Status line, before the level (1 to 5). At most 49 pixels wide in bold: about 8 letters.</extracomment>
        <translation>Nivel:</translation>
    </message>
    <message>
        <source>caption of the level</source>
        <translation>rótulo del nivel</translation>
    </message>
    <message>
        <source>level</source>
        <translation>nivel</translation>
    </message>
    <message>
        <source>row %1, column %2</source>
        <extracomment>Read out by screen readers for a board button: &quot;row 2, column 5&quot;.</extracomment>
        <translation>fila %1, columna %2</translation>
    </message>
    <message>
        <source>New Game</source>
        <translation>Nueva partida</translation>
    </message>
    <message>
        <source>Start Level &amp;%1</source>
        <extracomment>Menu entry that starts a game; %1 is the level, 1 to 5, and its access key.</extracomment>
        <translation>Empezar nivel &amp;%1</translation>
    </message>
    <message>
        <source>&amp;Addition</source>
        <translation>&amp;Suma</translation>
    </message>
    <message>
        <source>&amp;Subtraction</source>
        <translation>&amp;Resta</translation>
    </message>
    <message>
        <source>&amp;High Scores</source>
        <extracomment>On the menu bar; its access key may be the same as that of &quot;&amp;Help&quot;.</extracomment>
        <translation>&amp;Mejores puntuaciones</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Ayuda</translation>
    </message>
    <message>
        <source>&amp;Information and Instructions</source>
        <translation>&amp;Información e instrucciones</translation>
    </message>
    <message>
        <source>&amp;About Sumbright</source>
        <translation>&amp;Acerca de Sumbright</translation>
    </message>
</context>
</TS>
