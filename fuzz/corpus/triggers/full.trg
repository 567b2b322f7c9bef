* Velmora trigger file v1.0
#1200
приветствие стражника~
0 b0c1 100
привет здравствуй~
if %actor.level% > 10
  say Проходи, %actor.name%.

else
  say Go away.
end
~
#1201
~
2 0 -7
~
~
#1299
dust~
1 bf 0
~
text~
$
$
