#!/bin/sh
# Plays the user's browser in the sharing tests: opens the sign-in page, which the fake service
# answers by sending it on to the program's loopback address, as a user's approval would.
exec curl --silent --location --noproxy '*' --max-time 30 --output /dev/null "$1"
