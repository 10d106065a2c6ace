Commentary events, each with its number of commentary types:
0 1
1 1
2 0
3 0
4 1
5 0
6 1
7 1
8 0
9 0
10 0
11 1
12 0
13 0
14 0
15 5
16 0
17 1
18 0
19 3
20 3
21 0
22 1
23 1
24 0
25 0
26 0
27 0
28 0
29 0
30 1
31 0
32 3
33 0
34 0

REGISTER_ENTRY(0,0)
FIRST: Welcome1
TEXT::Good afternoon from {GROUND_NAME}where {HOME_TEAM_NAME}take on {AWAY_TEAM_NAME}today.
TEXT::The teams are out at {GROUND_NAME}for {HOME_TEAM_NAME}against {AWAY_TEAM_NAME}and the sun is out.
REGISTER_ENTRY(1,0)
FIRST: Underway1
TEXT::And we are under way at {GROUND_NAME}here.
TEXT::The referee gets {HOME_TEAM_NAME}against {AWAY_TEAM_NAME}started.
REGISTER_ENTRY(4,0)
FIRST: HalfTime1
TEXT::The half is over with {HOME_TEAM_NAME}{CURRENT_SCORE}{AWAY_TEAM_NAME}at the break.
REGISTER_ENTRY(6,0)
FIRST: Booked1
TEXT::{PLAYER_SURNAME}goes into the book for that challenge.
TEXT::A yellow card for {PLAYER_SURNAME}of {TEAM_NAME}and he cannot complain.
FIRST: Booked2
TEXT::The referee has seen enough: {PLAYER_SURNAME}is booked.
REGISTER_ENTRY(7,0)
FIRST: SentOff1
TEXT::{PLAYER_SURNAME}is sent off and {TEAM_NAME}are down to ten men.
TEXT::Red card! {PLAYER_SURNAME}walks, and {AGAINST_TEAM_NAME}will fancy their chances now.
REGISTER_ENTRY(11,0)
TEXT::Goal kick to {TEAM_NAME}after that one.
TEXT::{PLAYER_SURNAME}will take the goal kick.
REGISTER_ENTRY(15,0)
SECOND: Whistle1
TEXT::There goes the whistle and it is {HOME_TEAM_NAME}{CURRENT_SCORE}{AWAY_TEAM_NAME}at the interval.
REGISTER_ENTRY(15,1)
TEXT::The board goes up for added time at the end of the first half.
REGISTER_ENTRY(15,2)
SECOND: Whistle1
TEXT::That is ninety minutes and the score is {HOME_TEAM_NAME}{CURRENT_SCORE}{AWAY_TEAM_NAME}so far.
REGISTER_ENTRY(15,3)
TEXT::We are into added time here at {GROUND_NAME}now.
REGISTER_ENTRY(15,4)
TEXT::Extra time begins with {HOME_TEAM_NAME}and {AWAY_TEAM_NAME}still level.
REGISTER_ENTRY(17,0)
FIRST: Penalty1
TEXT::Penalty! {PLAYER_SURNAME}against {KEEPER_SURNAME}now.
TEXT::{PLAYER_SURNAME}places the ball on the spot, {KEEPER_SURNAME}waits on his line.
REGISTER_ENTRY(19,0)
FIRST: FullTime1
SECOND: Level1
TEXT::It ends all square: {HOME_TEAM_NAME}{CURRENT_SCORE}{AWAY_TEAM_NAME}at full time.
REGISTER_ENTRY(19,1)
FIRST: FullTime1
SECOND: Win1
TEXT::Full time, and {HOME_TEAM_NAME}take the points: {CURRENT_SCORE}it finishes.
REGISTER_ENTRY(19,2)
FIRST: FullTime1
SECOND: Win1
TEXT::Full time, and {AWAY_TEAM_NAME}win it away from home: {CURRENT_SCORE}the final score.
REGISTER_ENTRY(20,0)
FIRST: Goal1
TEXT::{PLAYER_SURNAME}scores and it is all square at {CURRENT_SCORE}now.
FIRST: Goal2
TEXT::Goal! {PLAYER_SURNAME}levels it for {TEAM_NAME}at {CURRENT_SCORE}here.
REGISTER_ENTRY(20,1)
FIRST: Goal1
TEXT::{PLAYER_SURNAME}scores for {TEAM_NAME}and it is {CURRENT_SCORE}to the home side.
FIRST: Goal2
TEXT::Goal! {PLAYER_SURNAME}beats the keeper and {HOME_TEAM_NAME}lead {CURRENT_SCORE}now.
REGISTER_ENTRY(20,2)
FIRST: Goal1
TEXT::{PLAYER_SURNAME}scores for {TEAM_NAME}and it is {CURRENT_SCORE}to the visitors.
FIRST: Goal2
TEXT::Goal! {PLAYER_SURNAME}finds the net and {AWAY_TEAM_NAME}lead {CURRENT_SCORE}now.
REGISTER_ENTRY(22,0)
TEXT::Throw-in to {TEAM_NAME}down the line.
TEXT::{PLAYER_SURNAME}takes the throw for {TEAM_NAME}here.
REGISTER_ENTRY(23,0)
FIRST: Corner1
TEXT::Corner to {TEAM_NAME}and {PLAYER_SURNAME}goes over to take it.
TEXT::{PLAYER_SURNAME}will swing in the corner for {TEAM_NAME}now.
REGISTER_ENTRY(30,0)
FIRST: Change1
TEXT::{TEAM_NAME}make a change: {PLAYER_SURNAME}on, {TO_PLAYER_SURNAME}off.
TEXT::{PLAYER_SURNAME}replaces {TO_PLAYER_SURNAME}for {TEAM_NAME}here.
REGISTER_ENTRY(32,0)
TEXT::The first half of extra time is over at {CURRENT_SCORE}so far.
REGISTER_ENTRY(32,1)
SECOND: Whistle1
TEXT::Extra time is over and we stand at {CURRENT_SCORE}after it.
REGISTER_ENTRY(32,2)
TEXT::So it goes to penalties between {HOME_TEAM_NAME}and {AWAY_TEAM_NAME}now.
REGISTER_END
