<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>pimavo::ImportDialog</name>
    <message numerus="yes">
        <source>%n photos on the camera. They are imported into the Pictures folder.</source>
        <translation>
            <numerusform>%n photo on the camera. It is imported into the Pictures folder.</numerusform>
            <numerusform>%n photos on the camera. They are imported into the Pictures folder.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Importing %n photos…</source>
        <translation>
            <numerusform>Importing %n photo…</numerusform>
            <numerusform>Importing %n photos…</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n photos imported.</source>
        <translation>
            <numerusform>%n photo imported.</numerusform>
            <numerusform>%n photos imported.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>pimavo::MediaBrowserPanel</name>
    <message numerus="yes">
        <source>%n photos, newest first. Double-click one to open it.</source>
        <translation>
            <numerusform>%n photo. Double-click it to open it.</numerusform>
            <numerusform>%n photos, newest first. Double-click one to open it.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>pimavo::PreferencesWindow</name>
    <message numerus="yes">
        <source>Undo keeps the last %n steps (up to %1).</source>
        <translation>
            <numerusform>Undo keeps the last step (up to %1).</numerusform>
            <numerusform>Undo keeps the last %n steps (up to %1).</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>pimavo::sharing::ShareError</name>
    <message numerus="yes">
        <source>%1 is receiving too many requests from you. Please try again in %n seconds.</source>
        <translation>
            <numerusform>%1 is receiving too many requests from you. Please try again in %n second.</numerusform>
            <numerusform>%1 is receiving too many requests from you. Please try again in %n seconds.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 is receiving too many requests from you. Please try again in %n minutes.</source>
        <translation>
            <numerusform>%1 is receiving too many requests from you. Please try again in %n minute.</numerusform>
            <numerusform>%1 is receiving too many requests from you. Please try again in %n minutes.</numerusform>
        </translation>
    </message>
</context>
</TS>
